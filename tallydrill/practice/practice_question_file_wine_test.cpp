// Question files read through the real dialog, files that cannot be opened, short and long
// files, records that break the format, and the Japanese captions.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tallydrill/practice/japanese_text.h"
#include "tallydrill/practice/practice_test_support.h"
#include "tallydrill/practice/question_file.h"
#include "tallydrill/practice/resource_ids.h"
#include "win32_test_support.h"

namespace {

using namespace practice_test;
using win32_test::DialogDriver;

std::vector<unsigned char> bytes_of(const QuestionRecord& record) {
    const auto* p = reinterpret_cast<const unsigned char*>(&record);
    return std::vector<unsigned char>(p, p + sizeof record);
}

QuestionRecord sample_question() {
    QuestionRecord record{};
    set_initial_question(record);
    return record;
}

class QuestionFile : public PracticeWindowTest {
  protected:
    // Answers the dialog of one load command with the path and gives what was seen.
    std::vector<win32_test::SeenDialog> load(const std::string& path, bool expect_message) {
        DialogDriver dialogs;
        dialogs.answer(win32_test::choose_file(path));
        if (expect_message) {
            dialogs.answer(win32_test::press(IDOK));
        }
        accelerator_command(IDM_LOAD_SELECT_ANSWER);
        EXPECT_TRUE(dialogs.wait_done(3000));
        return dialogs.seen();
    }
};

TEST_F(QuestionFile, CancellingTheFirstDialogShowsTheSample) {
    DialogDriver dialogs;
    dialogs.answer(win32_test::cancel());
    accelerator_command(IDM_LOAD_SELECT_ANSWER);
    ASSERT_TRUE(dialogs.wait_done(3000));
    EXPECT_EQ(bytes_of(practice.question), bytes_of(sample_question()));
    EXPECT_EQ(text_of(window()), "[ Pointsmith ][ Tilvora ] version 2.5") << "title unchanged";
    EXPECT_EQ(practice.state, PracticeState::question_running);
    EXPECT_EQ(text_of(practice.countdown_pane.fields[countdown_limit_value]), "0 sec");
}

TEST_F(QuestionFile, AFileThatCannotBeOpenedIsReportedWithItsPath) {
    const std::string missing = full_path("not-there.tt");
    const std::vector<win32_test::SeenDialog> seen = load(missing, true);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].caption, "Can not Open File");
    ASSERT_EQ(seen[1].texts.size(), 1u);
    EXPECT_STRCASEEQ(seen[1].texts[0].c_str(), missing.c_str());
    EXPECT_EQ(bytes_of(practice.question), bytes_of(sample_question())) << "record unchanged";
    EXPECT_EQ(text_of(window()), "[ Pointsmith ][ Tilvora ] version 2.5");
    EXPECT_EQ(practice.state, PracticeState::question_running) << "the practice goes on";
}

TEST_F(QuestionFile, AShortFileReplacesOnlyItsOwnBytes) {
    QuestionTexts texts{45, "Full", {"1", "2", "3", "4"}, "Old explanation"};
    const QuestionRecord full = make_question(texts);
    load(write_question("full.tt", full), false);
    ASSERT_EQ(bytes_of(practice.question), bytes_of(full));

    // 60 bytes: the tile lists, the time limit and the first 8 characters of the question.
    QuestionRecord other = make_question({-1, "Shortened text", {}, ""});
    other.hand[0] = 33;
    load(write_file("short.tt", &other, 60), false);
    EXPECT_EQ(text_of(window()), "short.tt");
    std::vector<unsigned char> expected = bytes_of(full);
    const std::vector<unsigned char> other_bytes = bytes_of(other);
    std::copy(other_bytes.begin(), other_bytes.begin() + 60, expected.begin());
    // The question text was converted in place when it was shown: nothing to convert here.
    EXPECT_EQ(bytes_of(practice.question), expected);
    EXPECT_EQ(text_of(practice.question_pane.question_box), "Shortene");
    EXPECT_EQ(text_of(practice.countdown_pane.fields[countdown_limit_value]), "-1 sec");

    // An empty file changes nothing but the title.
    load(write_file("empty.tt", "", 0), false);
    EXPECT_EQ(text_of(window()), "empty.tt");
    EXPECT_EQ(bytes_of(practice.question), expected);
}

TEST_F(QuestionFile, BytesAfterThe820thAreIgnored) {
    const QuestionRecord record = make_question({12, "Long file", {"a", "b", "c", "d"}, "e"});
    std::vector<unsigned char> file = bytes_of(record);
    file.resize(2000, 0x41);
    load(write_file("long.tt", file.data(), file.size()), false);
    EXPECT_EQ(bytes_of(practice.question), bytes_of(record));
}

// Codes that name no cell, lists without their 255 and texts without a NUL: the program reads
// and draws inside the record and the cell table all the same.
TEST_F(QuestionFile, ARecordThatBreaksTheFormatStaysInsideItsFields) {
    QuestionRecord record{};
    std::memset(record.dora_indicators, 200, sizeof record.dora_indicators);
    std::memset(record.back_dora, 81, sizeof record.back_dora);
    for (std::size_t i = 0; i < sizeof record.hand; ++i) {
        record.hand[i] = static_cast<TileCode>(i % 3 == 0 ? 100 + i : 45 + i % 2);
    }
    record.winning_tile = 254;
    set_question_time_limit(record, 0);
    std::memset(record.question_text, 'q', sizeof record.question_text);
    for (auto& answer : record.answers) {
        std::memset(answer, 'y', sizeof answer);
    }
    record.answers[1][0] = 'z';
    std::memset(record.explanation, 'x', sizeof record.explanation);
    load(write_question("broken.tt", record), false);
    ASSERT_EQ(practice.state, PracticeState::question_running);

    EXPECT_EQ(text_of(practice.question_pane.question_box), std::string(255, 'q'))
        << "the last character makes room for the NUL";
    const std::string full_answer(64, 'y');
    int whole = 0;
    for (HWND button : practice.countdown_pane.choice_buttons) {
        const std::string text = text_of(button);
        EXPECT_EQ(text.size(), 64u) << "64 characters, nothing of the next field";
        whole += text == full_answer ? 1 : 0;
    }
    EXPECT_EQ(whole, 3);
    pump(60); // paints and ticks with a limit of 0
    EXPECT_EQ(SendMessageA(practice.countdown_pane.fields[countdown_elapsed_bar], PBM_GETPOS, 0, 0),
              1000)
        << "a limit of 0 shows a full elapsed bar";

    clock_ms = practice.question_start_ms + 1; // any answer after 0 ms is late for a limit of 0
    accelerator_command(IDM_ANSWER_F1 + practice.right_slot);
    ASSERT_EQ(practice.state, PracticeState::result_shown);
    EXPECT_EQ(text_of(practice.result_pane.fields[result_right_answer_value]), full_answer);
    EXPECT_EQ(text_of(practice.result_pane.explanation_box), std::string(255, 'x'));
    EXPECT_EQ(text_of(practice.result_pane.fields[result_answer_verdict]), "right");
    EXPECT_EQ(text_of(practice.result_pane.fields[result_timing_verdict]), "too late");
    for (int tick = 0; tick < 10; ++tick) {
        SendMessageA(window(), WM_TIMER, 1, 0);
    }
    InvalidateRect(window(), nullptr, TRUE);
    UpdateWindow(window()); // draws the broken tiles once more
    EXPECT_TRUE(IsWindow(window()));

    // The same in the direct-input mode: the right answer of 64 digits without a NUL.
    std::memset(record.answers[0], '5', sizeof record.answers[0]);
    DialogDriver dialogs;
    dialogs.answer(win32_test::choose_file(write_question("digits.tt", record)));
    accelerator_command(IDM_LOAD_DIRECT_INPUT);
    ASSERT_TRUE(dialogs.wait_done(3000));
    SetWindowTextA(practice.countdown_pane.score_input, std::string(64, '5').c_str());
    accelerator_command(IDM_ENTER);
    EXPECT_EQ(text_of(practice.result_pane.fields[result_answer_verdict]), "right")
        << "both runs are cut at 63 digits alike";
}

TEST(JapaneseText, CaptionsConvertToTheSameUtf16WithAndWithoutTheSystemTable) {
    struct Row {
        const char* cp932;
        const wchar_t* wide;
    };
    const Row rows[] = {
        {score_label_cp932, L"\u70b9\u6570\u5165\u529b"},
        {decide_button_cp932, L"\u6c7a\u5b9a"},
        {"F1", L"F1"},
        {"", L""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(std::wstring(cp932_to_wide(row.cp932).text), row.wide);
        EXPECT_EQ(std::wstring(cp932_to_wide_built_in(row.cp932).text), row.wide);
    }
    EXPECT_EQ(std::wstring(cp932_to_wide_built_in("\x82\xa0!").text), L"?!")
        << "outside the built-in table";
    EXPECT_EQ(std::wstring(cp932_to_wide_built_in("\x93").text), L"?") << "a lone lead byte";
    EXPECT_EQ(std::string(score_label_cp932), "\x93\x5f\x90\x94\x93\xfc\x97\xcd");
    EXPECT_EQ(std::string(decide_button_cp932), "\x8c\x88\x92\xe8");
}

int CALLBACK count_font(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return 1;
}

// Whether the system has any font with the Japanese character set (Wine finds the host's
// fonts, such as those of Debian's fonts-noto-cjk).
bool system_has_japanese_font() {
    LOGFONTA wanted{};
    wanted.lfCharSet = SHIFTJIS_CHARSET;
    int count = 0;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExA(dc, &wanted, count_font, reinterpret_cast<LPARAM>(&count), 0);
    ReleaseDC(nullptr, dc);
    return count > 0;
}

TEST(JapaneseText, TheCaptionFontHasTheJapaneseCharacterSet) {
    if (!system_has_japanese_font()) {
        GTEST_SKIP() << "no font with Japanese characters on this system: the captions are "
                        "right but show as boxes";
    }
    HFONT font = japanese_caption_font();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(japanese_caption_font(), font) << "made once";
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    WORD glyphs[4] = {};
    const wchar_t text[] = L"\u70b9\u6570\u5165\u529b";
    EXPECT_EQ(GetGlyphIndicesW(dc, text, 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 4u);
    for (WORD glyph : glyphs) {
        EXPECT_NE(glyph, 0xFFFF) << "the font has the character";
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    delete_japanese_caption_font();
}

} // namespace
