// The hand scorer: yaku, dora, fu and payment of a complete riichi mahjong hand, by the rules
// written in tallydrill/pack/README.md. Portable; knows nothing of question files or windows.
#pragma once

#include <cstddef>
#include <cstdint>

// Tile kinds: 0-8 man 1-9, 9-17 pin 1-9, 18-26 sou 1-9, 27-30 East South West North,
// 31-33 white, green, red dragon.
using TileKind = std::uint8_t;
constexpr int tile_kind_count = 34;
constexpr TileKind first_honour_kind = 27;
constexpr TileKind first_dragon_kind = 31;

struct Tile {
    TileKind kind;
    bool red; // a red five (aka dora); only kinds 4, 13 and 22 can be red
};

enum class CallKind : std::uint8_t { chi, pon, open_kan, added_kan, closed_kan };

// Whose discard was called: a chi is always from the left; a closed kan has none. Only the
// drawing of the group depends on it, never the score.
enum class CallSource : std::uint8_t { left, across, right };

struct CalledGroup {
    CallKind kind;
    Tile tiles[4]; // three for chi and pon (a chi in ascending order), four for a kan
    CallSource source = CallSource::left;
    std::uint8_t called = 0; // index in `tiles` of the tile taken from the discard (drawing only)
};

enum class Wind : std::uint8_t { east, south, west, north };

// What the question text states: the seat is the dealer's exactly when it is East.
struct HandSituation {
    Wind round_wind;
    Wind seat_wind;
    bool riichi; // only with a closed hand (closed kans allowed)
    bool tsumo;  // false: ron on a discard
};

constexpr int max_concealed_tiles = 13;
constexpr int max_called_groups = 4;
constexpr int max_dora_indicators = 5; // one, and one more per kan

struct HandInput {
    Tile concealed[max_concealed_tiles]; // without the winning tile, in any order
    int concealed_count;                 // 13 - 3 x call_count
    CalledGroup calls[max_called_groups];
    int call_count;
    Tile winning_tile;
    HandSituation situation;
    TileKind dora_indicators[max_dora_indicators];
    int dora_indicator_count;
    TileKind back_dora_indicators[max_dora_indicators]; // counted for a riichi hand only
    int back_dora_indicator_count;
};

enum class Yaku : std::uint8_t {
    riichi,
    menzen_tsumo,
    pinfu,
    tanyao,
    iipeikou,
    seat_wind,
    round_wind,
    white_dragon,
    green_dragon,
    red_dragon,
    sanshoku_doujun,
    ittsu,
    chanta,
    junchan,
    toitoi,
    sanankou,
    sanshoku_doukou,
    sankantsu,
    honroutou,
    shousangen,
    chiitoitsu,
    honitsu,
    chinitsu,
    ryanpeikou,
    kokushi_musou, // the yakuman from here on
    suuankou,
    daisangen,
    shousuushii,
    daisuushii,
    tsuuiisou,
    chinroutou,
    ryuuiisou,
    chuuren_poutou,
    suukantsu,
};
constexpr int yaku_count = 34;
constexpr Yaku first_yakuman = Yaku::kokushi_musou;

// "Riichi", "Menzen tsumo", "Pinfu", ... as the explanations write them.
const char* yaku_name(Yaku yaku);

// The yaku's han for a closed or an open hand (0: it needs a closed hand; 13 for a yakuman).
int yaku_han(Yaku yaku, bool open_hand);

struct YakuHan {
    Yaku yaku;
    int han; // for a yakuman: 13
};

enum class FuItem : std::uint8_t {
    base,            // 20
    closed_ron,      // +10
    tsumo,           // +2
    open_pinfu_form, // open hand, ron, 20 fu: counted as 30
    chiitoitsu,      // 25, not rounded
    pair,            // dragon, seat or round wind pair: +2 (+4 for a double wind)
    open_triplet,    // +2 simple, +4 terminal or honour
    closed_triplet,  // +4 / +8
    open_kan,        // +8 / +16 (open and added kans)
    closed_kan,      // +16 / +32
    kanchan_wait,    // +2
    penchan_wait,    // +2
    tanki_wait,      // +2
};

struct FuStep {
    FuItem item;
    int fu;
    TileKind kind; // the group's or pair's tile, where the item has one
};

enum class LimitName : std::uint8_t { none, mangan, haneman, baiman, sanbaiman, yakuman };

enum class ScoreError : std::uint8_t {
    none,
    wrong_tile_count,   // not 14 tiles counting each kan as three
    too_many_of_a_kind, // five or more of one tile, or a red flag on a tile that has no red
    bad_call,           // a called group that is no group
    bad_indicator,      // an indicator kind out of range, or too many indicators
    not_complete,       // no reading makes four groups and a pair, seven pairs or thirteen orphans
    no_yaku,            // complete, but nothing but dora
    bad_situation,      // a wind out of range, or riichi with a group called from a discard
};

const char* score_error_text(ScoreError error); // a short reason for messages

constexpr int max_yaku_lines = 16;
constexpr int max_fu_steps = 12;
constexpr std::size_t payment_text_capacity = 24;

struct HandScore {
    ScoreError error;
    YakuHan yaku[max_yaku_lines]; // the reading that pays most; no dora here
    int yaku_count;
    int yakuman_count; // 0 when the hand is no yakuman; 13 han or more without one: counts 1
    int dora;          // dora and kan dora
    int back_dora;     // riichi only
    int red_fives;
    int han; // yaku + dora + back dora + red fives (0 for a yakuman hand; kazoe keeps its han)
    FuStep fu_steps[max_fu_steps];
    int fu_step_count;
    int fu_unrounded;
    int fu; // rounded up to 10, except chiitoitsu's 25
    LimitName limit;
    std::int32_t basic_points;
    std::int32_t ron_payment;            // what the discarder pays (0 for a tsumo)
    std::int32_t tsumo_from_non_dealer;  // each non-dealer's share (0 for a ron)
    std::int32_t tsumo_from_dealer;      // the dealer's share (0 for a ron or the dealer's tsumo)
    char payment[payment_text_capacity]; // "8000", "1000 2000", "2600 a"
};

// Scores the hand; on failure only `error` is meaningful. Never reads past the counts given,
// and clamps counts that are out of range into an error.
ScoreError score_hand(const HandInput& hand, HandScore& score);
