// One question of the practice program: the exact 820-byte record of a question file (*.tt).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// A tile code names a picture cell of the tile bitmap; the program gives it no mahjong meaning.
using TileCode = std::uint8_t;

constexpr TileCode first_upright_code = 0;    // 0..39: upright pictures
constexpr TileCode first_sideways_code = 40;  // 40..79: cell c + 40 is cell c turned sideways
constexpr TileCode first_separator_code = 80; // 80..254: opens a called group in `hand`
constexpr TileCode end_of_list_code = 255;    // ends `dora_indicators`, `back_dora`, `hand`
constexpr int tile_cell_count = 80;

inline bool is_upright_code(TileCode code) {
    return code < first_sideways_code;
}
inline bool is_sideways_code(TileCode code) {
    return code >= first_sideways_code && code < first_separator_code;
}
inline bool is_picture_code(TileCode code) {
    return code < first_separator_code;
}
inline bool is_separator_code(TileCode code) {
    return code >= first_separator_code && code < end_of_list_code;
}

constexpr std::size_t question_record_size = 820;
constexpr std::size_t dora_list_capacity = 7;
constexpr std::size_t hand_capacity = 32;
constexpr std::size_t question_text_capacity = 256;
constexpr std::size_t answer_count = 4;
constexpr std::size_t answer_text_capacity = 64;
constexpr std::size_t explanation_capacity = 256;

// Byte arrays only, so the layout has no padding and the file maps onto it directly.
struct QuestionRecord {
    std::uint8_t reserved;
    TileCode dora_indicators[dora_list_capacity];
    TileCode back_dora[dora_list_capacity];
    TileCode hand[hand_capacity];
    TileCode winning_tile;
    std::uint8_t time_limit[4]; // signed 32-bit, little-endian; read with question_time_limit
    char question_text[question_text_capacity];
    char answers[answer_count][answer_text_capacity]; // entry 0 is the right answer
    char explanation[explanation_capacity];
};

static_assert(sizeof(QuestionRecord) == question_record_size, "a question file is 820 bytes");
static_assert(offsetof(QuestionRecord, dora_indicators) == 1, "");
static_assert(offsetof(QuestionRecord, back_dora) == 8, "");
static_assert(offsetof(QuestionRecord, hand) == 15, "");
static_assert(offsetof(QuestionRecord, winning_tile) == 47, "");
static_assert(offsetof(QuestionRecord, time_limit) == 48, "");
static_assert(offsetof(QuestionRecord, question_text) == 52, "");
static_assert(offsetof(QuestionRecord, answers) == 308, "");
static_assert(offsetof(QuestionRecord, explanation) == 564, "");

// The built-in sample shown until a file has been read: all zero except the tile lists.
void set_initial_question(QuestionRecord& record);

// Applies the bytes of a question file: only the first min(size, 820) bytes of the record are
// replaced, so a short file leaves the rest of the previous question in place.
void read_question_bytes(QuestionRecord& record, const void* bytes, std::size_t size);

// The time limit in seconds, decoded byte by byte whatever the host's byte order.
std::int32_t question_time_limit(const QuestionRecord& record);
void set_question_time_limit(QuestionRecord& record, std::int32_t seconds);

// Codes before the 255 of a list, or the whole field when it holds no 255.
std::size_t tile_list_length(const TileCode* list, std::size_t capacity);
inline std::size_t dora_indicator_count(const QuestionRecord& record) {
    return tile_list_length(record.dora_indicators, dora_list_capacity);
}
inline std::size_t back_dora_count(const QuestionRecord& record) {
    return tile_list_length(record.back_dora, dora_list_capacity);
}
inline std::size_t hand_length(const QuestionRecord& record) {
    return tile_list_length(record.hand, hand_capacity);
}

// Characters before the NUL of a text field, or the whole field when it holds no NUL.
std::size_t text_field_length(const char* field, std::size_t capacity);
inline std::string_view text_field(const char* field, std::size_t capacity) {
    return std::string_view(field, text_field_length(field, capacity));
}
inline std::string_view answer_text(const QuestionRecord& record, std::size_t entry) {
    if (entry >= answer_count) {
        return std::string_view();
    }
    return text_field(record.answers[entry], answer_text_capacity);
}

// A text field with a NUL guaranteed after it, for callers that need a C string: a field that
// fills its whole capacity still ends inside this copy.
template <std::size_t Capacity> struct TerminatedText { char text[Capacity + 1]; };

template <std::size_t Capacity>
TerminatedText<Capacity> terminated_copy(const char (&field)[Capacity]) {
    TerminatedText<Capacity> copy{};
    const std::size_t length = text_field_length(field, Capacity);
    for (std::size_t i = 0; i < length; ++i) {
        copy.text[i] = field[i];
    }
    return copy;
}
