#include "tallydrill/practice/draw_tiles.h"

#include "tallydrill/practice/practice_app.h"
#include "tallydrill/tiles/tile_plan.h"

namespace {

constexpr COLORREF band_colour = RGB(tile_band_red, tile_band_green, tile_band_blue);

void paint_bands(HDC dc, const TilePlan& plan) {
    HPEN pen = CreatePen(PS_INSIDEFRAME, 1, band_colour);
    HBRUSH brush = CreateSolidBrush(band_colour);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    SetROP2(dc, R2_COPYPEN);
    for (const TileRect& band : {plan.dora_band, plan.hand_band}) {
        Rectangle(dc, band.left, band.top, band.right, band.bottom);
    }
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
}

bool cell_inside(const TileRect& cell, const BITMAP& bitmap) {
    return cell.left >= 0 && cell.top >= 0 && cell.right <= bitmap.bmWidth &&
           cell.bottom <= bitmap.bmHeight;
}

void copy_cells(HDC dc, HDC memory, const TilePlan& plan, const BITMAP& bitmap) {
    // The dora rows stretch the cells: colour pictures keep their colours only when stretched
    // by dropping or repeating whole pixels, not by combining them.
    const int old_mode = SetStretchBltMode(dc, COLORONCOLOR);
    for (std::size_t i = 0; i < plan.copy_count; ++i) {
        const TileCopy& copy = plan.copies[i];
        if (!cell_inside(copy.source, bitmap)) {
            continue;
        }
        StretchBlt(dc, copy.destination.left, copy.destination.top, copy.destination.width(),
                   copy.destination.height(), memory, copy.source.left, copy.source.top,
                   copy.source.width(), copy.source.height(), SRCCOPY);
    }
    SetStretchBltMode(dc, old_mode);
}

} // namespace

HBITMAP load_tile_bitmap() {
    // A full path, because a bare relative name may also be looked for beside the program.
    char path[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA("data\\bp.bmp", sizeof path, path, nullptr);
    if (length == 0 || length >= sizeof path) {
        return nullptr;
    }
    return static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

void draw_tiles(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const TilePlan plan = plan_tiles(practice.question, practice.tile_cells, client.right);

    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    BITMAP bitmap{};
    HGDIOBJ old_bitmap = nullptr;
    if (practice.tile_bitmap != nullptr &&
        GetObjectA(practice.tile_bitmap, sizeof bitmap, &bitmap) == sizeof bitmap) {
        old_bitmap = SelectObject(memory, practice.tile_bitmap);
    }
    paint_bands(dc, plan);
    if (old_bitmap != nullptr) {
        copy_cells(dc, memory, plan, bitmap);
        SelectObject(memory, old_bitmap);
    }
    ReleaseDC(window, dc);
    DeleteDC(memory);
}
