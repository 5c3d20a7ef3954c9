// Every text the capture and the test run show, each once.
#pragma once

namespace CaptureText {
inline constexpr const char kOwned[] = "ｵｰﾅを持つｳｨﾝﾄﾞｳですので取り込みできません.";
inline constexpr const char kDisabled[] = "ﾏｳｽ･ｷｰﾎﾞｰﾄﾞｲﾍﾞﾝﾄを受け付けないｳｨﾝﾄﾞｳですので取り込みできません.";
inline constexpr const char kHidden[] = "ﾋﾞｼﾞﾌﾞﾙ属性を持たないｳｨﾝﾄﾞｳですので取り込みできません.";
inline constexpr const char kUntitled[] = "ﾀｲﾄﾙが未設定のｳｨﾝﾄﾞｳですので取り込みできません.";
inline constexpr const char kProgman[] = "ﾌﾟﾛｸﾞﾗﾑﾏﾈｼﾞｬｸﾗｽです.";
inline constexpr const char kZeroSize[] = "ｳｨﾝﾄﾞｳｻｲｽﾞが０ですので取り込みできません.";
inline constexpr const char kIconic[] = "ｱｲｺﾝ状態ですので取り込みできません.";
inline constexpr const char kSelf[] = "自分自身を指定しています.";
inline constexpr const char kNotFoundPid[] = "Not Found : PID=%d";
inline constexpr const char kNotBound[] = "動的ﾘﾝｸが完了していません.";
inline constexpr const char kNoSnapshot[] = "SnapShotが獲得できませんでした.";

inline constexpr const char kNothingFound[] = "一つのｳｨﾝﾄﾞｳも検索できませんでした.";
inline constexpr const char kNoCursor[] = "ﾏｳｽｶｰｿﾙの座標獲得に失敗しました.";
inline constexpr const char kNoWindow[] = "ｳｨﾝﾄﾞｳが選択されていません";
inline constexpr const char kInterrupted[] = "割り込みを受けたため、ｷｬﾌﾟﾁｬを中止しました。";

inline constexpr const char kOneRegistered[] = "既にﾘｽﾄに登録済みのモジュールですので、取り込みませんでした.";
inline constexpr const char kAllRegistered[] = "既にﾘｽﾄに登録済みのモジュールですので、１件も取り込みませんでした.";
inline constexpr const char kSomeTaken[] = "既に登録済みのモジュールを除いて %d 件取り込みました.";
inline constexpr const char kAllTaken[] = "%d 件取り込みました.";
}  // namespace CaptureText
