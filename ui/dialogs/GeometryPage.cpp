// Geometry page: its fields, their checks and the enable rules of the number fields.
#include "GeometryPage.h"

#include "DataExchange.h"
#include "EditorIds.h"

GeometryPage::GeometryPage() : EmbeddedPage(IDD_GEOMETRY_PAGE) {}

BOOL GeometryPage::OnInitDialog()
{
    UpdateData(false);
    UpdatePageStates();
    return TRUE;
}

void GeometryPage::DoDataExchange(DataExchange& dx)
{
    // Disabled edits are exchanged too: they keep the numbers they show.
    dx.Check(IDC_GEO_POSITION_GIVEN, positionGiven);
    dx.Check(IDC_GEO_SIZE_GIVEN, sizeGiven);
    dx.Int(IDC_GEO_HEIGHT, height);
    dx.Int(IDC_GEO_X, x);
    dx.Int(IDC_GEO_Y, y);
    dx.Int(IDC_GEO_WIDTH, width);
    dx.Radio(IDC_GEO_NORMAL, showState);
}

bool GeometryPage::OnCommand(int id, int code, HWND)
{
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_GEO_NORMAL:
    case IDC_GEO_MINIMISED:
    case IDC_GEO_MAXIMISED:
    case IDC_GEO_POSITION_GIVEN:
    case IDC_GEO_SIZE_GIVEN:
        if (UpdateData(true)) UpdatePageStates();
        return true;
    default:
        return false;
    }
}

void GeometryPage::UpdatePageStates()
{
    ::EnableWindow(Item(IDC_GEO_X), positionGiven);
    ::EnableWindow(Item(IDC_GEO_Y), positionGiven);
    ::EnableWindow(Item(IDC_GEO_WIDTH), sizeGiven);
    ::EnableWindow(Item(IDC_GEO_HEIGHT), sizeGiven);
    RecomputeTabStops();
}
