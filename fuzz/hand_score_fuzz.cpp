// The hand scorer on anything. Odd first byte: the fields of a HandInput, scored directly. Even:
// a question record read into a reason field of the second byte's size; the reason ends inside
// its field, and a hand drawn again reads back with the same score.
#include <algorithm>
#include <cstring>
#include <iterator>

#include "fuzz/fuzz_support.h"
#include "tallydrill/scoring/question_hand.h"

namespace {

// The fields of a HandInput taken byte by byte, so that no bool holds anything but 0 or 1.
HandInput hand_from_bytes(FuzzReader& reader) {
    HandInput hand{};
    auto tile = [&reader]() { return Tile{reader.byte(), (reader.byte() & 1) != 0}; };
    auto kind = [&reader]() { return TileKind{reader.byte()}; };
    hand.concealed_count = static_cast<std::int8_t>(reader.byte());
    std::generate(std::begin(hand.concealed), std::end(hand.concealed), tile);
    hand.call_count = static_cast<std::int8_t>(reader.byte());
    for (CalledGroup& call : hand.calls) {
        call.kind = static_cast<CallKind>(reader.byte() % 6);
        std::generate(std::begin(call.tiles), std::end(call.tiles), tile);
    }
    hand.winning_tile = tile();
    const std::uint8_t flags = reader.byte();
    hand.situation.round_wind = static_cast<Wind>(flags & 7);
    hand.situation.seat_wind = static_cast<Wind>((flags >> 3) & 7);
    hand.situation.riichi = (flags & 0x40) != 0;
    hand.situation.tsumo = (flags & 0x80) != 0;
    hand.dora_indicator_count = static_cast<std::int8_t>(reader.byte());
    std::generate(std::begin(hand.dora_indicators), std::end(hand.dora_indicators), kind);
    hand.back_dora_indicator_count = static_cast<std::int8_t>(reader.byte());
    std::generate(std::begin(hand.back_dora_indicators), std::end(hand.back_dora_indicators), kind);
    return hand;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader reader(data, size);
    const std::uint8_t form = reader.byte();
    if (form & 1) {
        HandScore score;
        score_hand(hand_from_bytes(reader), score);
        return 0;
    }
    const size_t why_capacity = 1 + reader.byte() % 128;
    std::unique_ptr<QuestionRecord> record(new QuestionRecord{});
    const size_t copied =
        reader.left() < question_record_size ? reader.left() : question_record_size;
    std::memcpy(record.get(), reader.rest(), copied);

    HandInput hand;
    ExactBuffer<char> why(why_capacity);
    const bool read = read_question_hand(*record, hand, why.data(), why.size());
    FUZZ_CHECK(has_terminator(why.data(), why.size()));
    if (!read) {
        return 0;
    }
    std::unique_ptr<QuestionRecord> drawn(new QuestionRecord(*record));
    FUZZ_CHECK(write_question_hand(hand, *drawn));
    HandInput again;
    FUZZ_CHECK(read_question_hand(*drawn, again, why.data(), why.size()));
    HandScore a, b;
    score_hand(hand, a);
    score_hand(again, b);
    FUZZ_CHECK(a.error == b.error && a.han == b.han && a.fu == b.fu &&
               a.yakuman_count == b.yakuman_count && a.basic_points == b.basic_points &&
               std::strcmp(a.payment, b.payment) == 0);
    return 0;
}
