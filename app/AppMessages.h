// Every text the start-up and platform services show to the user or write to the log.
#pragma once

namespace AppText {
inline constexpr const char kNoOsVersion[] = "OS Version が獲得できません.";
inline constexpr const char kNeedPsapi[] = "WinNT/W2Kの場合には、PSAPI.DLLが必要です.";
inline constexpr const char kNoDesktopName[] = "起動したデスクトップ名が獲得できません.";
inline constexpr const char kNeedToolHelp[] = "Kernel32.DLLに必要なｴﾝﾄﾘｼﾝﾎﾞﾙが見つかりませんでした.";
inline constexpr const char kUnsupportedOs[] = "このOSでは動作できません.";
inline constexpr const char kBadSettingsPath[] = "保存ファイル名が不正です.";
inline constexpr const char kSystemErrorCaption[] = "Error";
inline constexpr const char kCreateProcessFailedLog[] = "CreateProcess(%s) Failed.\n";
}  // namespace AppText
