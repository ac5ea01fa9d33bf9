#include "assistant/comment_tables.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace tama05 {
namespace {

// Columns: mascot line 1, mascot line 2, mascot picture, its blink partner, assistant line,
// assistant picture, its blink partner, score offset x, score offset y, mascot font change.
// The order of the rows is what the random choice yields.

// One row; "%d" is the drop limit.
constexpr CommentVariant kTooManyFilesTable[] = {
    {"ドラッグ＆ドロップできるファイルは", "%d枚までです。ご注意を。", "normal3", "",
     "%d枚を超えた分については無視されます。", "normal2", "", 0, 0, 0},
};

// Mascot only.
constexpr CommentVariant kStartMascotTable[] = {
    {"どうも～。玉五郎で～す。", "ファイルをオープンちて下さい。", "normal3", "", "", "", "", 0, 0,
     0},  // 0
    {"どうも～。玉五郎で～す。", "ファイルを開きまちょう。", "normal3", "", "", "", "", 0, 0,
     0},  // 1
};

// Assistant only.
constexpr CommentVariant kStartAssistantTable[] = {
    {"", "", "", "", "アシスタントのこまおです。", "normal1", "", 0, 0, 0},    // 0
    {"", "", "", "", "玉五郎様の召使のこまおです。", "normal2", "", 0, 0, 0},  // 1
};

// Mascot only.
constexpr CommentVariant kSkinMascotTable[] = {
    {"スキンが変更になりまちた。", "どうですかこのスキン？", "ki4", "", "", "", "", 0, 0, 0},  // 0
    {"スキン変更で～す。", "気分一新！！", "pika1", "", "", "", "", 0, 0, 0},                  // 1
};

// Assistant only.
constexpr CommentVariant kSkinAssistantTable[] = {
    {"", "", "", "", "スキンが変更になりました。", "normal1", "", 0, 0, 0},          // 0
    {"", "", "", "", "心機一転。スキンの変更が完了しました。", "ki1", "", 0, 0, 0},  // 1
};

// "%d" is 88, the score that brings the answer slider (row 10 only).
constexpr CommentVariant kIdleTable[] = {
    {"味噌を入れたら煮立たせない方がおいち", "いです。よろちく。", "normal3", "",
     "玉五郎様は、お味噌汁が飲みたいそうです。", "normal1", "", 0, 0, 0},  // 0
    {"ぽっぽ焼きがほちぃー", "ぽっぽ焼きが食べたい。", "ai3", "",
     "ぽっぽ焼きは新潟の祭りには欠かせないおやつです。", "ki1", "", 0, 0, 0},  // 1
    {"どうでちたか？僕のチラ見せ攻撃。", "もっと見たい？", "ki3", "ki4",
     "玉五郎様！あまりみだらになってはいけません！", "ai5", "", 0, 0, 0},  // 2
    {"皆さんからの情報、お待ちちております。", "おいちい物やおいちい物が良いです。", "ki2", "ki4",
     "玉五郎様、「おいちいもの」しか言ってませんよ。", "ai7", "", 0, 0, 0},  // 3
    {"皆さんから、たくさんの情報がほちいです。", "よろちく。", "normal2", "normal3",
     "地元の情報、グルメ情報、珍情報お待ちしてまーす。", "ki4", "", 0, 0, 0},  // 4
    {"僕は寒いのは苦手です。", "冬にはおこたが恋ちい。", "do1", "",
     "でも、玉五郎さんのお家にはこたつがないのです。", "ai1", "", 0, 0, 0},  // 5
    {"どっぱらちみずはとてもおいちいです。", "とても純粋なのです。", "ai4", "",
     "「どっぱら清水」は新潟の菅名岳に湧き出る水です。", "ki1", "", 0, 0, 0},  // 6
    {"イヤイヤ攻撃～～～～", "イヤイヤイヤイヤイヤイヤイヤイヤ", "ki7", "ki6",
     "イヤイヤイヤイヤイヤイヤイヤイヤ", "ki5", "ki6", -16, 0, 0},  // 7
    {"僕へのちつもんもすこちなら聞きます。", "ちょっとだけです。", "normal2", "ki9",
     "玉五郎様へのご質問も承ります。少しだけ。", "normal1", "", 0, 0, 0},  // 8
    {"このソフトは千山味噌の提供でお送りち", "ています。ちーえむです。", "normal1", "normal3",
     "提供は千山味噌です。ＣＭです。", "ki2", "", 0, 0, 0},  // 9
    {"スコアが%d点になると、こまおくんの", "ずっと右にスライダーが現れます。", "ki4", "",
     "スライダーを動かすと答え画像が見れます。これだよ→", "ki4", "", 0, 0, 0},  // 10
    {"「みかづき」のイタリアンが食べたい。", "カレーイタリアンがほちい。", "do3", "",
     "「みかづき」は新潟のファーストフード店です。", "ki3", "", 0, 0, 0},  // 11
    {"外へ出てウォーキングをちなさい。", "こればかりやっていては体に悪い。", "normal3", "",
     "毎年ぬべすウォーキングを開催しております。", "ki4", "", 0, 0, 0},  // 12
    {"何かおもちろい情報は無いかな～。", "笑わちてみせてよ。", "do2", "",
     "皆様からの情報を心からお待ちしております。", "normal1", "", 0, 0, 0},  // 13
    {"味噌の色が濃いからといって", "塩分が高いとは限らないのだよ。", "ki8", "",
     "色の違いは味噌の熟成期間によるものです。", "ki5", "", 0, 0, 0},  // 14
    {"玉０５情報を鵜呑みにちてはいけません。", "情報は足で稼ぐんだ！", "do4", "", "･･･", "ai3", "",
     0, 0, 0},  // 15
    {"どっぱら清水が飲みたい。", "誰か取って来てくれないかな～。", "normal3", "normal4",
     "「どっぱら清水」は新潟県の菅名岳に湧き出る水です。", "ki1", "", 0, 0, 0},  // 16
    {"こまおくん、ちってる？", "鈴が滝って、うつくちぃ～よ。", "pika1", "pika2",
     "鈴が滝は日本の滝100選にも選ばれていますね。", "ki5", "ki6", 0, 0, 0},  // 17
    {"ちぜんをだいじにちまちょう", "･･･と、言ってみる。", "pika3", "pika4",
     "問題です。玉五郎様は何とおっしゃっているでしょう？", "ai8", "", 0, 0, 0},  // 18
    {"部屋の掃除をちないときのこが育ちます。", "しいたけ、まいたけ、えのき、えりんぎ", "ki5", "",
     "掃除はきちんとしましょう。", "ai3", "", 0, 0, 0},  // 19
    {"あれ･･･････", "ネタ帳がどっかいった。", "ai2", "", "ネタ帳からコメントしてたんですか！？",
     "ai7", "", 0, 0, 0},  // 20
    {"お歌のきんち用語。", "アイラブユー、アイミスユー、アイウォンチュー", "normal4", "",
     "もう聞き飽きたそうです。", "ai8", "", 0, 0, -1},  // 21
    {"お歌のきんち用語。", "いつまでも、どこまでも、永遠に～♪", "normal4", "",
     "確かに多いですね。そのフレーズ。", "ai9", "", 0, 0, 0},  // 22
    {"玉05コメントはちと読みにくい。でもこれを", "マスターすれば、玉05語仲間と話せるよ。", "pika1",
     "", "でも近所で玉05語を話す人には会えないと思いますよ。", "ai10", "", 0, 0, -1},  // 23
    {"おもちろいものは常に身の回りに", "ひそんでいる。", "ki8", "",
     "そんなにあったらネタ帳は不要ですね。", "ai10", "", 0, 0, 0},  // 24
    {"お正月には万代橋がとても混雑するから、", "気をつけたまえ！", "do4", "",
     "自動車より自転車の方が速い。でも寒い。", "ai8", "", 0, 0, 0},  // 25
    {"忘れないうちにメモを取れ！", "自分の記憶力など信じるな！", "do4", "", "己との戦いですね！！",
     "do2", "", 0, 0, 0},  // 26
    {"「ごちそうさま」と言う時は", "本当にご馳走の時だけだ！！", "do4", "",
     "己に正直になれということですね！！", "do2", "", 0, 0, 0},  // 27
    {"一度、バイキングコーナーに椅子を置いて", "そこで一人でご飯が食べたい。", "pika1", "",
     "豪快だな～。", "ki4", "", 0, 0, 0},  // 28
};
static_assert(std::size(kIdleTable) == 29);

// "%d" is the number of cells the drop changed.
constexpr CommentVariant kPiecesChangedTable[] = {
    {"%d枚入れ替わりまちた。", "よろこばちい。", "ki4", "", "玉五郎様はお慶びでございます。",
     "normal1", "", 0, 0, 0},  // 0
    {"%d枚新しくなりまちた。", "まいど。", "ki2", "", "玉五郎様、よかったですね！", "normal1",
     "ki4", 0, 0, 0},  // 1
    {"おお、こまおくん、%d枚新しくなったよ。", "うれちいぞ～～～～～。", "ai1", "ai4",
     "玉五郎様、おめでとうございます！", "ki4", "", 0, 0, 0},  // 2
    {"おお、こまおくん、%d枚入れ替わったよ。", "きまちたぞ、きまちたぞお。", "ki7", "ki6",
     "おっしゃ～～～～～～。", "ai6", "", -16, 0, 0},  // 3
    {"%d枚入れ替わったよ。", "トレビヤーンです。いとおかちです！", "ki8", "", "いとをかし。", "ki5",
     "", 0, 0, 0},  // 4
    {"きまちた！%d枚ピカッ！", "これって、おもちろくねー？", "ki7", "ki9",
     "玉五郎様、お言葉に品がなくねー？", "ai5", "", 0, 0, 0},  // 5
    {"うれちいおちらせです。%d枚ピカッ！", "入れ替わりまちた。", "ki7", "",
     "ここに来て入れ替わるとは、すばらしいことです。", "ki6", "", 14, 0, 0},  // 6
    {"じゃじゃーん！%d枚チェーンジ！", "ありがとうございまちた。", "ki3", "ki4",
     "おお！上半身チラ見せですね！", "ai5", "", 0, 0, 0},  // 7
    {"%d枚変更がありまちた。えらい！", "また、よろちく。", "ki1", "", "よろしく～～～！", "ki3", "",
     0, 0, 0},  // 8
    {"%d枚がピカピカちまちた！", "調子い～～～～～～。", "ki8", "",
     "ピカピカ攻撃ですね！まぶしい～。", "ki5", "ki6", 0, 0, 0},  // 9
};
static_assert(std::size(kPiecesChangedTable) == 10);

// "%d" is the new puzzle score. Rows 0 and 1 greet a score of 88 or more, rows 2 to 9 any
// other rise.
constexpr CommentVariant kScoreUpTable[] = {
    {"おほほ～～～。やりまちた！", "ついに、%d点です！ありがとう～！", "ki3", "",
     "玉五郎様！上半身が出すぎでございます。", "ai5", "", -5, -18, 0},  // 0
    {"おっちゃー！こまおく～ん、%d点いったよ！", "トレ、トレビヤ～～～ン。", "ki2", "",
     "わたくしもうれしうございます！仏語もお上手でございます！", "ki5", "ki6", 0, 0, 0},  // 1
    {"トレビヤ～～ン。%dにアップちまちた！", "すばらちいです。", "ki6", "ki7",
     "玉五郎様は大変お喜びです。", "ki4", "", 14, 0, 0},  // 2
    {"%d点になりまちた。", "こまおくん、僕ものってきたよ～。", "normal2", "normal3",
     "おめでとうございます！玉五郎様！", "ki1", "", 0, 0, 0},  // 3
    {"ありがとうございます。%d点になりまちた。", "おかげさまで、ちあわせ～。", "ki5", "",
     "わたくしも幸せでございます～。", "ai1", "", 0, 0, 0},  // 4
    {"%d点です！", "いとおかち。", "ki9", "",
     "玉五郎様は「とても趣のあることだ」とおっしゃっています。", "normal1", "", 0, 0, 0},  // 5
    {"うれちいおちらせです。", "なんと、%d点になりまちた～。", "normal2", "ki5",
     "それは、嬉しいお知らせですね！", "ki1", "", 0, 0, 0},  // 6
    {"おかげさまをもちまちて、", "%d点に到達致ちまちた。", "do3", "",
     "玉五郎様、なんと謙虚なお言葉･･･。ご立派です。", "ai4", "", 0, 0, 0},  // 7
    {"%d点、達成です。すばらちい。", "今後とも頑張ってくださいまち。", "ki9", "",
     "わたくしも誠心誠意アシスタントを勤めさせていただきます。", "ki4", "", 0, 0, 0},  // 8
    {"%d点にスコアがアップちまちた。", "やったぞーーー！", "ai1", "", "だーーーーーー！", "ai6", "",
     0, 0, 0},  // 9
};
static_assert(std::size(kScoreUpTable) == 10);

// No "%d".
constexpr CommentVariant kPoorResultTable[] = {
    {"あまり成果がありませんでちた･･･。", "むなちいです。", "ai1", "ai4",
     "玉五郎様、かなしうございます。", "ai1", "", 0, 0, 0},  // 0
    {"あまり変わらなくて残念です。", "さみちいです。", "ai3", "", "玉五郎様、お気を落とさずに。",
     "ki1", "", 0, 0, 0},  // 1
    {"残念ながら成果が無ち･･･。", "もう少ち、チャキッとちまちょう。", "do2", "",
     "玉五郎様は、しゃきっとしろとおっしゃっております。", "do1", "", 0, 0, 0},  // 2
    {"はぁ～。全然駄目。", "たるんでるぞ。チャキッとだ、チャキッと！", "do3", "do2",
     "玉五郎様、お気を静めてください。", "ai2", "", 0, 0, 0},  // 3
    {"空虚感に襲われまちた。", "･･･", "ai2", "", "玉五郎様が空虚感に襲われました。", "ai3", "", 0,
     0, 0},  // 4
    {"はぁ～、なんだか壁にぶち当たっているよ。", "おうちへ帰りたい。", "ai2", "",
     "残念でなりません。", "ai3", "", 0, 0, 0},  // 5
    {"なんだか悲ちくなってきたよ。", "こまおも帰って良いよ。", "ai1", "",
     "わたくしは、お供いたします！", "ai4", "", 0, 0, 0},  // 6
    {"ふぬ～。おもちろくないです。", "こまおもそう思うでちょ。", "normal3", "do2",
     "玉五郎様のおっしゃる通りでございます。", "do1", "", 0, 0, 0},  // 7
    {"やる気をなくちてきた。", "もっと心に迫るものをお願いちます。", "do1", "",
     "玉五郎様は芸術に飢えていらっしゃいます。", "ai2", "", 0, 0, 0},  // 8
    {"芸術とちんけんに向き合うのです！", "お願いちますよ。", "ai1", "ai4",
     "玉五郎様の熱いお気持ちでございます！", "ai1", "", 0, 0, 0},  // 9
    {"効果なちでちた･･･。", "目を細めると答えがわかるかもよ･･･。", "do2", "",
     "残念でございました･･･。わたくしも細めてみます。", "ai8", "", 0, 0, 0},  // 10
    {"あまり変化はありませんでちた。", "でも、離れて見ると分かるかもよ。", "do2", "",
     "皆さん、遠くにさがってご覧下さい。答えがわかります？", "ai8", "", 0, 0, 0},  // 11
};
static_assert(std::size(kPoorResultTable) == 12);

// No "%d".
constexpr CommentVariant kGoodDropTable[] = {
    {"きまちた、きまちたよ～！", "今後ともよろちくお願いいたちます。", "ki2", "ki4",
     "玉五郎様が大変お喜びです。", "ki3", "", 0, 0, 0},  // 0
    {"ん～～～～～～。", "ち・あ・わ・せ。", "ki5", "",
     "玉五郎様は、幸せであるとおっしゃっております！", "ki1", "", 0, 0, 0},  // 1
    {"ボン！おもちろくなってきまちた。", "すばらちい。", "ki2", "",
     "「ボン」はフランス語で「良い」という意味です。", "ki1", "", 0, 0, 0},  // 2
    {"トレビヤ～ン。すばらち～い。", "追い風が吹いてきまちた～！", "normal2", "normal1",
     "さすが玉五郎様。フランス語もご堪能です！", "ki4", "", 0, 0, 0},  // 3
    {"はい、きまちた～～。", "こまおくん、芸術ってすばらちいね～。", "normal2", "normal1",
     "玉五郎様、ご立派になられて･･･。", "ai1", "", 0, 0, 0},  // 4
    {"ん～～～～。きもちいい～～！", "こまおくんも振ってみて～。（頭）", "ki7", "ki6",
     "はい。玉五郎様！", "ki5", "ki6", -16, 0, 0},  // 5
    {"超ありえな～い。", "おもちろいって感じ、みたいな～。", "ki2", "",
     "さすが玉五郎様。ギャル語もご堪能でございます！", "normal1", "ki4", 0, 0, 0},  // 6
    {"ラッキー、ラッキー、ラッキー、ラッキー", "", "ki2", "ki4",
     "ラッキー、ラッキー、ラッキー、ラッキー", "ki4", "ki1", 0, 0, 0},  // 7
    {"ふふ～～～ん。元気が出て気まちた。", "どんどんドロップちていきまちょう！", "ki1", "",
     "玉五郎様は芸術をどんどんドロップしろとのおうせです。", "normal1", "", 0, 0, 0},  // 8
    {"あなたも、なかなかやるじゃな～～い。", "", "ki8", "", "やるじゃな～～～い。", "ki2", "", 0, 0,
     0},  // 9
};
static_assert(std::size(kGoodDropTable) == 10);

struct RoutineInfo {
    CommentRoutine routine;
    std::string_view name;
    CommentCast cast;
    std::span<const CommentVariant> table;
};

constexpr RoutineInfo kRoutines[] = {
    {CommentRoutine::kTooManyFiles, "CommentTooManyFiles", CommentCast::kBoth, kTooManyFilesTable},
    {CommentRoutine::kStartMascot, "CommentStartMascot", CommentCast::kMascotOnly,
     kStartMascotTable},
    {CommentRoutine::kStartAssistant, "CommentStartAssistant", CommentCast::kAssistantOnly,
     kStartAssistantTable},
    {CommentRoutine::kSkinMascot, "CommentSkinMascot", CommentCast::kMascotOnly, kSkinMascotTable},
    {CommentRoutine::kSkinAssistant, "CommentSkinAssistant", CommentCast::kAssistantOnly,
     kSkinAssistantTable},
    {CommentRoutine::kIdle, "CommentIdle", CommentCast::kBoth, kIdleTable},
    {CommentRoutine::kPiecesChanged, "CommentPiecesChanged", CommentCast::kBoth,
     kPiecesChangedTable},
    {CommentRoutine::kScoreUp, "CommentScoreUp", CommentCast::kBoth, kScoreUpTable},
    {CommentRoutine::kPoorResult, "CommentPoorResult", CommentCast::kBoth, kPoorResultTable},
    {CommentRoutine::kGoodDrop, "CommentGoodDrop", CommentCast::kBoth, kGoodDropTable},
};
static_assert(std::size(kRoutines) == std::size(kAllCommentRoutines));

constexpr bool RoutinesInEnumOrder() {
    for (size_t i = 0; i < std::size(kRoutines); ++i) {
        if (kRoutines[i].routine != kAllCommentRoutines[i] ||
            static_cast<size_t>(kRoutines[i].routine) != i) {
            return false;
        }
    }
    return true;
}
static_assert(RoutinesInEnumOrder());

const RoutineInfo& InfoOf(CommentRoutine routine) {
    return kRoutines[static_cast<size_t>(routine)];
}

}  // namespace

std::string_view CommentRoutineName(CommentRoutine routine) {
    return InfoOf(routine).name;
}

std::optional<CommentRoutine> CommentRoutineFromName(std::string_view name) {
    for (const RoutineInfo& info : kRoutines) {
        if (info.name == name) {
            return info.routine;
        }
    }
    return std::nullopt;
}

CommentCast CommentCastOf(CommentRoutine routine) {
    return InfoOf(routine).cast;
}

std::span<const CommentVariant> CommentTable(CommentRoutine routine) {
    return InfoOf(routine).table;
}

std::string CommentPictureFileName(CommentCharacter character, std::string_view mood) {
    if (mood.empty()) {
        return {};
    }
    std::string name(character == CommentCharacter::kMascot ? kMascotPicturePrefix
                                                            : kAssistantPicturePrefix);
    name += mood;
    name += kCommentPictureExtension;
    return name;
}

std::vector<std::string> CommentPictureNames() {
    std::vector<std::string> names;
    for (const RoutineInfo& info : kRoutines) {
        for (const CommentVariant& row : info.table) {
            for (std::string_view mood : {row.mascotPicture, row.mascotBlinkPartner}) {
                if (!mood.empty()) {
                    names.push_back(CommentPictureFileName(CommentCharacter::kMascot, mood));
                }
            }
            for (std::string_view mood : {row.assistantPicture, row.assistantBlinkPartner}) {
                if (!mood.empty()) {
                    names.push_back(CommentPictureFileName(CommentCharacter::kAssistant, mood));
                }
            }
        }
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

}  // namespace tama05
