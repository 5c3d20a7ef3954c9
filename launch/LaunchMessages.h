// Every text the launch engine logs or shows, each exactly once.
#pragma once

namespace LaunchText {
// Log lines.
inline constexpr const char kAlreadyRunning[] = "Module [%s] Already Running in Desktop[%s].\n";
inline constexpr const char kCreateFailed[] = "CreateProcess(%s) Failed.\n";
inline constexpr const char kCreateSucceeded[] = "CreatePrcess(%s) Success.\n";
inline constexpr const char kImeDisabled[] = "IME Disable OK.\n";
inline constexpr const char kIdleTimeout[] = "(%s)は起動完了待ﾀｲﾑｱｳﾄ(%d s).\n";
inline constexpr const char kSystemErrorLine[] = "%s\n";
inline constexpr const char kNoProcessHandle[] = "(%s)はProcessﾊﾝﾄﾞﾙが獲得できません.\n";
inline constexpr const char kShellHead[] = "ShellExecuteEx(%s) -> ";
inline constexpr const char kShellExecFailed[] = "Exec Faild.\n";
inline constexpr const char kShellNoInstance[] = "Insntance or ProcessHandle Faild.\n";
inline constexpr const char kShellSucceeded[] = "Success.\n";
inline constexpr const char kNoTopLevelWindow[] = "ToplevelWindow が獲得できませんでした.\n";
inline constexpr const char kKillCheck[] = "Kill Check (%s) [H:%08X,T:%08X] : ";
inline constexpr const char kAlreadyEnded[] = "Already End.\n";
inline constexpr const char kPostedClose[] = "Post(WM_CLOSE) ";
inline constexpr const char kPostedQuit[] = "Post(WM_QUIT) ";
inline constexpr const char kTerminated[] = "TerminateProcess()";
inline constexpr const char kLineEnd[] = "\n";
// The runtime's formatter prints a null text this way; it is passed explicitly instead.
inline constexpr const char kNullText[] = "(null)";

// Message boxes of the unattended start.
inline constexpr const char kNoApplications[] = "ファイル[%s]で定義されたｱﾌﾟﾘｹｰｼｮﾝがありません";
inline constexpr const char kLaunchErrorHead[] = "起動エラー\r\n";
inline constexpr const char kDuplicateCount[] = "重複起動しようとしたｱﾌﾟﾘｹｰｼｮﾝが %d 件ありました.\r\n";
inline constexpr const char kFailureCount[] = "起動に失敗したｱﾌﾟﾘｹｰｼｮﾝが %d 件ありました.\r\n";

// The sibling helper program and its options.
inline constexpr const char kHelperName[] = "Hopshell.exe";
inline constexpr const char kHelperWatchDog[] = "/WatchDog:%d";
inline constexpr const char kHelperNoWait[] = "/NOWAIT:0";
}  // namespace LaunchText
