// Every text the main window shows, each once.
#pragma once

namespace MainText {
inline constexpr const char kDuplicateAllowed[] = "○";
inline constexpr const char kDuplicateRefused[] = "×";
inline constexpr const char kNone[] = "－";
inline constexpr const char kDirSame[] = "○";
inline constexpr const char kDirChanged[] = "◆";
inline constexpr const char kArgumentsGiven[] = "■";
inline constexpr const char kNotSet[] = "---";

inline constexpr const char kAskDiscardForLoad[] = "変更内容が破棄されます. 読み込みますか?";
inline constexpr const char kLoadFailed[] = "ファイル[%s]の読み込みに失敗しました.";
inline constexpr const char kLoaded[] = "新しい定義ファイルを読み込みました.";
inline constexpr const char kSaved[] = "保存しました.";
inline constexpr const char kAskReplaceIncomplete[] =
    "ファイル[%s]は全部を読み込めませんでした. 保存すると読み込めなかった部分は失われます. 保存しますか?";
inline constexpr const char kAskSaveOnExit[] =
    "変更内容が保存されていません. 保存してから終了しますか？\r\n\t[はい]\t保存終了します\r\n\t[いいえ]\t破棄終了します\r\n\t[ｷｬﾝｾﾙ]\t中止します\r\n";
inline constexpr const char kNothingSelected[] = "ﾘｽﾄが未選択です";
inline constexpr const char kListEmpty[] = "ﾘｽﾄが未登録です";
inline constexpr const char kAskLaunchAll[] = "ﾘｽﾄのｱﾌﾟﾘｹｰｼｮﾝを全部起動しますか?";
inline constexpr const char kHelpMissing[] = "ﾍﾙﾌﾟﾌｧｲﾙが見つかりません.";
inline constexpr const char kHelpCaption[] = "HELP Error";

inline constexpr const char kSettingsFilter[] = "設定保存ﾌｧｲﾙ (*.INI)|*.ini|全て(*.*)|*.*||";
inline constexpr const char kSettingsExtension[] = "ini";
}  // namespace MainText
