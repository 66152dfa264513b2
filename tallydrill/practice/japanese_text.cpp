#include "tallydrill/practice/japanese_text.h"

const char score_label_cp932[] = "\x93\x5f\x90\x94\x93\xfc\x97\xcd";
const char decide_button_cp932[] = "\x8c\x88\x92\xe8";

namespace {

struct DoubleByteChar {
    unsigned char lead;
    unsigned char trail;
    wchar_t wide;
};

// The characters of the two captions.
constexpr DoubleByteChar built_in_table[] = {
    {0x93, 0x5f, 0x70b9}, // 点
    {0x90, 0x94, 0x6570}, // 数
    {0x93, 0xfc, 0x5165}, // 入
    {0x97, 0xcd, 0x529b}, // 力
    {0x8c, 0x88, 0x6c7a}, // 決
    {0x92, 0xe8, 0x5b9a}, // 定
};

HFONT caption_font = nullptr;

bool is_lead_byte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc);
}

wchar_t look_up(unsigned char lead, unsigned char trail) {
    for (const DoubleByteChar& entry : built_in_table) {
        if (entry.lead == lead && entry.trail == trail) {
            return entry.wide;
        }
    }
    return L'?';
}

} // namespace

WideCaption cp932_to_wide_built_in(const char* text) {
    WideCaption caption{};
    if (text == nullptr) {
        return caption;
    }
    const std::size_t room = sizeof caption.text / sizeof caption.text[0] - 1;
    std::size_t out = 0;
    for (std::size_t in = 0; text[in] != '\0' && out < room; ++in) {
        const unsigned char c = static_cast<unsigned char>(text[in]);
        if (is_lead_byte(c) && text[in + 1] != '\0') {
            caption.text[out++] = look_up(c, static_cast<unsigned char>(text[in + 1]));
            ++in;
        } else {
            caption.text[out++] = c < 0x80 ? static_cast<wchar_t>(c) : L'?';
        }
    }
    caption.text[out] = L'\0';
    return caption;
}

WideCaption cp932_to_wide(const char* text) {
    WideCaption caption{};
    if (text == nullptr) {
        return caption;
    }
    const int room = static_cast<int>(sizeof caption.text / sizeof caption.text[0]);
    if (IsValidCodePage(932) &&
        MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text, -1, caption.text, room) > 0) {
        return caption;
    }
    return cp932_to_wide_built_in(text);
}

HFONT japanese_caption_font() {
    if (caption_font != nullptr) {
        return caption_font;
    }
    LOGFONTW font{};
    HGDIOBJ gui_font = GetStockObject(DEFAULT_GUI_FONT);
    if (gui_font == nullptr || GetObjectW(gui_font, sizeof font, &font) != sizeof font) {
        font = LOGFONTW{};
        font.lfHeight = -12;
    }
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const wchar_t face[] = L"MS UI Gothic";
    static_assert(sizeof face <= sizeof font.lfFaceName, "");
    for (std::size_t i = 0; i < sizeof face / sizeof face[0]; ++i) {
        font.lfFaceName[i] = face[i];
    }
    caption_font = CreateFontIndirectW(&font);
    return caption_font;
}

void delete_japanese_caption_font() {
    if (caption_font != nullptr) {
        DeleteObject(caption_font);
        caption_font = nullptr;
    }
}
