#include "tallydrill/generator/explanation.h"

#include <vector>

namespace {

const char* const kind_words[tile_kind_count] = {
    "1-man", "2-man", "3-man", "4-man",        "5-man",        "6-man",     "7-man",
    "8-man", "9-man", "1-pin", "2-pin",        "3-pin",        "4-pin",     "5-pin",
    "6-pin", "7-pin", "8-pin", "9-pin",        "1-sou",        "2-sou",     "3-sou",
    "4-sou", "5-sou", "6-sou", "7-sou",        "8-sou",        "9-sou",     "East",
    "South", "West",  "North", "white dragon", "green dragon", "red dragon"};

const char* const limit_words[] = {"", "mangan", "haneman", "baiman", "sanbaiman", "yakuman"};

enum class FuDetail { tiles, items, numbers, none };

struct Detail {
    FuDetail fu;
    bool yaku_han; // each yaku with its han
};

std::string number(long value) {
    return std::to_string(value);
}

// Words that stay on one line ("menzen tsumo 1", "8 closed 9-man triplet", "-> 40") are joined
// by this mark, which becomes a space once the lines are broken.
constexpr char unbroken_space = '\x01';

// " + " with the plus kept at the end of a line when the line breaks there.
const std::string plus = std::string(1, unbroken_space) + "+ ";

std::string unbroken(std::string text) {
    for (char& c : text) {
        c = c == ' ' ? unbroken_space : c;
    }
    return text;
}

std::string lowered(const char* name, bool first) {
    std::string text = name;
    if (!first && !text.empty() && text[0] >= 'A' && text[0] <= 'Z' &&
        !(text.size() > 1 && text[1] >= 'A' && text[1] <= 'Z')) {
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    }
    return text;
}

std::string capitalized(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    return text;
}

std::string fu_item_text(const FuStep& step, FuDetail detail) {
    const std::string fu = number(step.fu);
    if (detail == FuDetail::numbers) {
        return fu;
    }
    const bool named = detail == FuDetail::tiles && step.kind < tile_kind_count;
    const std::string tile = named ? std::string(" ") + kind_words[step.kind] : std::string();
    switch (step.item) {
    case FuItem::base:
        return fu;
    case FuItem::closed_ron:
        return fu + " closed ron";
    case FuItem::tsumo:
        return fu + " tsumo";
    case FuItem::open_pinfu_form:
        return fu + " open ron of 20";
    case FuItem::chiitoitsu:
        return fu + " chiitoitsu";
    case FuItem::pair:
        return fu + tile + " pair";
    case FuItem::open_triplet:
        return fu + " open" + tile + " triplet";
    case FuItem::closed_triplet:
        return fu + " closed" + tile + " triplet";
    case FuItem::open_kan:
        return fu + " open kan" + (named ? " of" + tile : "");
    case FuItem::closed_kan:
        return fu + " closed kan" + (named ? " of" + tile : "");
    case FuItem::kanchan_wait:
        return fu + " kanchan";
    case FuItem::penchan_wait:
        return fu + " penchan";
    case FuItem::tanki_wait:
        return fu + " single wait";
    }
    return fu;
}

int yaku_han_total(const HandScore& score) {
    int han = score.dora + score.back_dora + score.red_fives;
    for (int i = 0; i < score.yaku_count && i < max_yaku_lines; ++i) {
        han += score.yaku[i].han;
    }
    return han;
}

std::string yaku_sentence(const HandScore& score, bool with_han) {
    std::string text;
    const int count = score.yaku_count < max_yaku_lines ? score.yaku_count : max_yaku_lines;
    if (score.yakuman_count > 0) {
        bool any_yakuman = false;
        for (int i = 0; i < count; ++i) {
            if (score.yaku[i].yaku >= first_yakuman) {
                text += (any_yakuman ? plus : "") +
                        unbroken(lowered(yaku_name(score.yaku[i].yaku), !any_yakuman));
                any_yakuman = true;
            }
        }
        if (any_yakuman) {
            const int n = score.yakuman_count;
            return text + ": " +
                   (n == 1   ? "yakuman"
                    : n == 2 ? "double yakuman"
                             : number(n) + " yakuman") +
                   ".";
        }
        text.clear(); // 13 han or more of ordinary yaku
    }
    auto add = [&](const std::string& name, int han) {
        text += (text.empty() ? ""
                 : with_han   ? plus
                              : ", ") +
                unbroken(with_han ? name + " " + number(han) : name);
    };
    for (int i = 0; i < count; ++i) {
        add(lowered(yaku_name(score.yaku[i].yaku), text.empty()), score.yaku[i].han);
    }
    if (score.dora > 0) {
        add("dora", score.dora);
    }
    if (score.red_fives > 0) {
        add("red five", score.red_fives);
    }
    if (score.back_dora > 0) {
        add("back dora", score.back_dora);
    }
    const int han = yaku_han_total(score);
    text += " " + unbroken("= " + number(han) + " han");
    if (score.yakuman_count > 0) {
        return capitalized(text) + ": counted as yakuman.";
    }
    if (score.limit != LimitName::none && han >= 5) {
        text += std::string(": ") + limit_words[static_cast<int>(score.limit)];
    }
    return capitalized(text) + ".";
}

std::string fu_sentence(const HandScore& score, FuDetail detail) {
    const int count = score.fu_step_count < max_fu_steps ? score.fu_step_count : max_fu_steps;
    std::string text = "Fu: ";
    for (int i = 0; i < count; ++i) {
        text += (i == 0 ? "" : plus) + unbroken(fu_item_text(score.fu_steps[i], detail));
    }
    std::string total = count > 1 ? "= " + number(score.fu_unrounded) : std::string();
    if (score.fu != score.fu_unrounded) {
        total += (total.empty() ? "-> " : " -> ") + number(score.fu);
    }
    return text + (total.empty() ? "" : " " + unbroken(total)) + ".";
}

std::string rounded(long exact) {
    const long up = (exact + 99) / 100 * 100;
    return number(exact) + (up == exact ? "" : " " + unbroken("-> " + number(up)));
}

std::string basic_sentence(const HandScore& score) {
    const int han = yaku_han_total(score);
    const std::string basic = number(score.basic_points);
    if (score.yakuman_count > 0) {
        const int n = score.yakuman_count;
        return capitalized(n == 1   ? "yakuman"
                           : n == 2 ? "double yakuman"
                                    : number(n) + " yakuman") +
               ": " + basic + " basic points.";
    }
    if (score.limit != LimitName::none && han >= 5) {
        return capitalized(limit_words[static_cast<int>(score.limit)]) + ": " + basic +
               " basic points.";
    }
    long exact = score.fu;
    for (int i = 0; i < han + 2; ++i) {
        exact *= 2;
    }
    std::string text =
        "Basic points: " + number(score.fu) + " x 2^(" + number(han) + "+2) = " + number(exact);
    if (score.limit == LimitName::mangan) {
        text += ", over 2000: mangan " + basic;
    }
    return text + ".";
}

// One sentence, or two when a non-dealer's tsumo does not fit a line: the break then falls
// between the two payers.
std::vector<std::string> payment_sentences(const HandScore& score, const HandSituation& situation) {
    const long basic = score.basic_points;
    const bool dealer = situation.seat_wind == Wind::east;
    if (!situation.tsumo) {
        return {std::string(dealer ? "Dealer" : "Non-dealer") + " ron: " + number(basic) + " x " +
                (dealer ? "6" : "4") + " = " + rounded(basic * (dealer ? 6 : 4)) + "."};
    }
    if (dealer) {
        return {"Dealer tsumo: " + number(basic) + " x 2 = " + rounded(basic * 2) + " from each."};
    }
    const std::string each = "Tsumo: " + rounded(basic) + " from each non-dealer,";
    const std::string from_dealer =
        number(basic) + " x 2 = " + rounded(basic * 2) + " from the dealer.";
    if (each.size() + 1 + from_dealer.size() <= explanation_line_limit) {
        return {each + " " + from_dealer};
    }
    return {each, from_dealer};
}

// Sentences each from a new line, words wrapped at the line limit. Empty when a word is longer
// than a line.
std::vector<std::string> wrap(const std::vector<std::string>& sentences) {
    std::vector<std::string> lines;
    for (const std::string& sentence : sentences) {
        std::string line;
        std::size_t start = 0;
        while (start < sentence.size()) {
            std::size_t end = sentence.find(' ', start);
            if (end == std::string::npos) {
                end = sentence.size();
            }
            const std::string word = sentence.substr(start, end - start);
            if (word.size() > explanation_line_limit) {
                return {};
            }
            if (!line.empty() && line.size() + 1 + word.size() > explanation_line_limit) {
                lines.push_back(line);
                line.clear();
            }
            line += (line.empty() ? "" : " ") + word;
            start = end + 1;
        }
        lines.push_back(line);
    }
    for (std::string& line : lines) {
        for (char& c : line) {
            c = c == unbroken_space ? ' ' : c;
        }
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += (i == 0 ? "" : "\\n") + lines[i];
    }
    return text;
}

} // namespace

std::string fu_step_text(const FuStep& step) {
    return fu_item_text(step, FuDetail::tiles);
}

const char* tile_kind_word(TileKind kind) {
    return kind < tile_kind_count ? kind_words[kind] : "";
}

std::string write_explanation(const HandScore& score, const HandSituation& situation,
                              std::size_t capacity) {
    const bool fu_matters = score.yakuman_count == 0 && yaku_han_total(score) < 5;
    const Detail details[] = {
        {FuDetail::tiles, true}, {FuDetail::items, true},    {FuDetail::numbers, true},
        {FuDetail::none, true},  {FuDetail::numbers, false}, {FuDetail::none, false},
    };
    for (const Detail& detail : details) {
        if (detail.fu == FuDetail::none && fu_matters) {
            continue;
        }
        std::vector<std::string> sentences = {yaku_sentence(score, detail.yaku_han)};
        if (detail.fu != FuDetail::none && score.yakuman_count == 0) {
            sentences.push_back(fu_sentence(score, detail.fu));
        }
        sentences.push_back(basic_sentence(score));
        for (const std::string& sentence : payment_sentences(score, situation)) {
            sentences.push_back(sentence);
        }
        const std::vector<std::string> lines = wrap(sentences);
        const std::string text = joined(lines);
        if (!lines.empty() && lines.size() <= explanation_max_lines && text.size() < capacity) {
            return text;
        }
    }
    // The shortest form: every number of the answer and nothing else.
    std::vector<std::string> sentences = {
        number(yaku_han_total(score)) + " han " + number(score.fu) + " fu.", basic_sentence(score)};
    for (const std::string& sentence : payment_sentences(score, situation)) {
        sentences.push_back(sentence);
    }
    const std::vector<std::string> lines = wrap(sentences);
    return joined(lines).substr(0, capacity - 1);
}
