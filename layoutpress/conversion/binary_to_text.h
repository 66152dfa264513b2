// Packed binary records to text format data, with the optional column alignment ("[SPACE]")
// and line breaking ("[LINE FEED]").
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "layoutpress/conversion/conversion_problem.h"
#include "layoutpress/structure/member_table.h"

struct TextOrganization {
    bool space = false;     // line the values up in columns
    bool line_feed = false; // each value (or each array) on a line of its own
};

// Fills out with zero bytes up to out_capacity, then writes one value per member for the
// data_length bytes of data. Returns the length of the text (non-zero) on success and 0 on
// failure, with the reason in *problem; the text written so far then stands, terminated
// inside the buffer. A text that would not fit fails with output_full.
size_t binary_to_text(char* out, size_t out_capacity, const uint8_t* data, size_t data_length,
                      const MemberTable& table, TextOrganization organization,
                      ConversionProblem* problem = nullptr);

// The same conversion for a buffer allocated for it: the text and its terminator are written,
// nothing is filled, so that pages the text does not reach stay untouched. Bytes after the
// terminator are unspecified.
size_t binary_to_text_unfilled(char* out, size_t out_capacity, const uint8_t* data,
                               size_t data_length, const MemberTable& table,
                               TextOrganization organization, ConversionProblem* problem = nullptr);

struct ConversionPlan;

// A conversion planned once for all the data (its members, column widths and line ends) and
// written in parts that start at records, each on a thread of its own if wanted: the parts'
// texts one after another are the text binary_to_text writes. The data must outlive it.
class TextInParts {
  public:
    TextInParts(const uint8_t* data, size_t data_length, const MemberTable& table,
                TextOrganization organization);
    ~TextInParts();
    TextInParts(const TextInParts&) = delete;
    TextInParts& operator=(const TextInParts&) = delete;

    // The length of a record; 0 when the text cannot be written in parts (nothing to convert,
    // a member of a size its kind does not allow, line ends that differ from record to record).
    size_t record_size() const;
    // Enough room for the text of length bytes of the data and its terminator; SIZE_MAX when
    // that is more than a size can count.
    size_t room(size_t length) const;
    // Writes the text of the data's bytes from offset (at a record) for length bytes as it
    // stands in the whole text, the line end before it included, and a terminator; returns its
    // length, with the outcome in *problem (output_full when capacity is below room(length)).
    size_t write(char* out, size_t capacity, size_t offset, size_t length,
                 ConversionProblem* problem = nullptr) const;

  private:
    std::unique_ptr<ConversionPlan> plan_;
    const uint8_t* data_;
    size_t data_length_;
    MemberTable table_; // a copy: a table made for the call may be gone before the writing
};
