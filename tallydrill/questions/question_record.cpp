#include "tallydrill/questions/question_record.h"

#include <cstring>

namespace {

constexpr TileCode sample_dora_indicators[] = {0, 1, 1, 1, 1, 255};
constexpr TileCode sample_back_dora[] = {30, 35, 255};
// One concealed tile and four called groups of four, each with a stacked pair.
constexpr TileCode sample_hand[] = {11, 90, 12, 52, 52, 12, 90, 22, 62, 62, 22,
                                    90, 67, 67, 27, 27, 90, 17, 17, 57, 57, 255};
constexpr TileCode sample_winning_tile = 0;

static_assert(sizeof(sample_dora_indicators) <= dora_list_capacity, "");
static_assert(sizeof(sample_back_dora) <= dora_list_capacity, "");
static_assert(sizeof(sample_hand) <= hand_capacity, "");

} // namespace

void set_initial_question(QuestionRecord& record) {
    std::memset(&record, 0, sizeof record);
    std::memcpy(record.dora_indicators, sample_dora_indicators, sizeof sample_dora_indicators);
    std::memcpy(record.back_dora, sample_back_dora, sizeof sample_back_dora);
    std::memcpy(record.hand, sample_hand, sizeof sample_hand);
    record.winning_tile = sample_winning_tile;
}

void read_question_bytes(QuestionRecord& record, const void* bytes, std::size_t size) {
    if (bytes == nullptr) {
        return;
    }
    const std::size_t used = size < sizeof record ? size : sizeof record;
    std::memcpy(&record, bytes, used);
}

std::int32_t question_time_limit(const QuestionRecord& record) {
    const std::uint32_t value = static_cast<std::uint32_t>(record.time_limit[0]) |
                                static_cast<std::uint32_t>(record.time_limit[1]) << 8 |
                                static_cast<std::uint32_t>(record.time_limit[2]) << 16 |
                                static_cast<std::uint32_t>(record.time_limit[3]) << 24;
    return static_cast<std::int32_t>(value);
}

void set_question_time_limit(QuestionRecord& record, std::int32_t seconds) {
    const std::uint32_t value = static_cast<std::uint32_t>(seconds);
    for (int i = 0; i < 4; ++i) {
        record.time_limit[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::size_t tile_list_length(const TileCode* list, std::size_t capacity) {
    std::size_t length = 0;
    while (length < capacity && list[length] != end_of_list_code) {
        ++length;
    }
    return length;
}

std::size_t text_field_length(const char* field, std::size_t capacity) {
    std::size_t length = 0;
    while (length < capacity && field[length] != '\0') {
        ++length;
    }
    return length;
}
