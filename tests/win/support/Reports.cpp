// The test application's reports.
#include "WinTestSupport.h"

#include <cstdlib>
#include <fstream>

#include "TestAppMessages.h"

Report ReadReport(const std::string& path)
{
    Report report;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        report[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return report;
}

Report WaitForReport(const std::string& path, const char* event)
{
    for (int i = 0; i < 600; ++i) {
        Report report = ReadReport(path);
        if (report.count("end") && (event == nullptr || report["event"] == event)) return report;
        ::Sleep(50);
    }
    return ReadReport(path);
}

std::vector<long> Numbers(const std::string& text)
{
    std::vector<long> numbers;
    const char* p = text.c_str();
    while (*p != 0) {
        char* end = nullptr;
        numbers.push_back(std::strtol(p, &end, 10));
        if (end == p) break;
        p = *end == ',' ? end + 1 : end;
    }
    return numbers;
}

DWORD ReportedProcessId(const Report& report)
{
    auto it = report.find("pid");
    return it == report.end() ? 0 : static_cast<DWORD>(std::strtoul(it->second.c_str(), nullptr, 10));
}

bool RequestReport(HWND window)
{
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutA(window, kReportRequest, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) != 0 && answer == 1;
}
