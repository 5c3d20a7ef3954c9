// Texts the data model and the settings file show or log, each exactly once.
#pragma once

namespace CoreText {
inline constexpr const char kKeywordMissing[] = "%sが定義されていません.";
inline constexpr const char kOutOfMemoryLog[] = "メモリが足りません.\n";
inline constexpr const char kEofInsideBlock[] = "終了識別子が途中で見つかりました.\n";
inline constexpr const char kEntryOutOfMemory[] = "メモリ不足です.";
inline constexpr const char kUnknownKeyword[] = "Executer : KeyWord[%s]は、認識できません.";
inline constexpr const char kRecordOutOfMemory[] = "メモリ不足です.";
inline constexpr const char kBadFormat[] = "ファイル[%s]の書式が不正です";
inline constexpr const char kNameTooShort[] = "ﾌｧｲﾙ名が短すぎます.";
inline constexpr const char kCannotCreate[] = "ﾌｧｲﾙが作成できませんでした.";
inline constexpr const char kLogRefreshed[] = "Logfile was Refreshed.  [MAX=%d Bytes.]\n";
inline constexpr const char kFileHeader[] = ";Lodestay\n";
inline constexpr const char kFileVersion[] = "FileVersion\t0x0110\n";
inline constexpr const char kBlockOpener[] = "Executant::RingListClass\t{\n";
}  // namespace CoreText
