// Both conversions along tables the parser never makes (any kind code and size, 256 members): the
// number of entries, three bytes per entry (kind, size, element count), an unused byte, then the
// bytes taken both as text format data and as binary data.
#include "fuzz/conversion_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int32_t sizes[] = {0, 1, 2, 3, 4, 5, 8, 10, 16, 200, -1};
    FuzzReader reader(data, size);
    std::unique_ptr<MemberTable> table(new MemberTable);
    clear_member_table(*table);
    const uint8_t entries_pick = reader.byte();
    const int entries = entries_pick == 0xFF ? member_table_entries : entries_pick;
    for (int i = 0; i < entries && reader.left() >= 3; ++i) {
        table->entries[i] = {static_cast<MemberKind>(reader.byte() % 7),
                             sizes[reader.byte() % std::size(sizes)], reader.byte() % 6};
    }
    reader.byte(); // once a buffer capacity; kept so that the corpus reads as it did
    ExactBuffer<char> text(reader.rest(), reader.left());
    checked_text_to_binary(text.data(), text.size(), *table);
    checked_binary_to_text(reader.rest(), reader.left(), *table);
    return 0;
}
