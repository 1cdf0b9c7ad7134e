// The menu bar strip and drop-downs, drawn like a classic desktop menu: grey
// face, raised frame, navy highlight, embossed grey text for greyed items.
#include "menu_bar/painter.h"

#include <algorithm>
#include <cstddef>

#include "menu_bar/layout.h"

namespace win::menu_bar {
namespace {

constexpr COLORREF FACE = rgb(192, 192, 192);
constexpr COLORREF SHADOW = rgb(128, 128, 128);
constexpr COLORREF DARK_SHADOW = rgb(0, 0, 0);
constexpr COLORREF LIGHT = rgb(255, 255, 255);
constexpr COLORREF HIGHLIGHT = rgb(0, 0, 128);
constexpr COLORREF HIGHLIGHT_TEXT = rgb(255, 255, 255);
constexpr COLORREF TEXT = rgb(0, 0, 0);
constexpr COLORREF GREY_TEXT = rgb(128, 128, 128);

// A DC with the default GUI font drawing transparently into a surface.
class MenuDc {
  public:
    explicit MenuDc(Surface* surface) : dc_(make_dc(surface, nullptr)) {
        select_object(dc_, get_stock_object(DEFAULT_GUI_FONT));
        set_bk_mode(dc_, TRANSPARENT);
    }
    ~MenuDc() { free_dc(dc_); }
    MenuDc(const MenuDc&) = delete;
    MenuDc& operator=(const MenuDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

int text_width(HDC dc, const std::string& text) {
    Size size;
    get_text_extent_point(dc, text.c_str(), int(text.size()), &size);
    return size.cx;
}

int text_height(HDC dc) {
    TextMetrics metrics;
    get_text_metrics(dc, &metrics);
    return metrics.tmHeight;
}

void fill(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
    HGDIOBJ brush = create_solid_brush(color);
    Rect r{left, top, right, bottom};
    fill_rect(dc, &r, brush);
    delete_object(brush);
}

// Label with its mnemonic underlined, the text cell's top-left at (x, y).
void draw_label(HDC dc, const MenuText& text, int x, int y, COLORREF color) {
    set_text_color(dc, color);
    text_out(dc, x, y, text.label.c_str(), int(text.label.size()));
    if (text.underline < 0) return;
    TextMetrics metrics;
    get_text_metrics(dc, &metrics);
    int from = x + text_width(dc, text.label.substr(0, std::size_t(text.underline)));
    int width = text_width(dc, text.label.substr(std::size_t(text.underline), 1));
    int line = y + metrics.tmAscent + 1;
    fill(dc, from, line, from + width, line + 1, color);
}

// The classic check mark, 7 x 7 pixels with its top-left at (x, y).
void draw_check(HDC dc, int x, int y, COLORREF color) {
    for (int column = 0; column < 7; ++column) {
        int top = column <= 2 ? 2 + column : 6 - column;
        fill(dc, x + column, y + top, x + column + 1, y + top + 3, color);
    }
}

// Raised frame: light then white on the top and left, black then grey on
// the bottom and right.
void draw_raised_frame(HDC dc, int width, int height) {
    fill(dc, 0, 0, width, 1, FACE);
    fill(dc, 0, 0, 1, height, FACE);
    fill(dc, 1, 1, width - 1, 2, LIGHT);
    fill(dc, 1, 1, 2, height - 1, LIGHT);
    fill(dc, 0, height - 1, width, height, DARK_SHADOW);
    fill(dc, width - 1, 0, width, height, DARK_SHADOW);
    fill(dc, 1, height - 2, width - 1, height - 1, SHADOW);
    fill(dc, width - 2, 1, width - 1, height - 1, SHADOW);
}

struct Columns {
    int label_width = 0, shortcut_width = 0;
};

Columns measure_columns(HDC dc, const std::vector<MenuItem>& items) {
    Columns columns;
    for (const MenuItem& item : items) {
        if (layout::is_separator(item)) continue;
        MenuText text = split_menu_text(item.text);
        columns.label_width = std::max(columns.label_width, text_width(dc, text.label));
        columns.shortcut_width = std::max(columns.shortcut_width, text_width(dc, text.shortcut));
    }
    return columns;
}

void paint_separator(HDC dc, int top, int width) {
    int y = top + layout::SEPARATOR_HEIGHT / 2 - 1;
    fill(dc, 1, y, width - 1, y + 1, SHADOW);
    fill(dc, 1, y + 1, width - 1, y + 2, LIGHT);
}

void paint_item(HDC dc, const MenuItem& item, int top, int width, bool hot) {
    using namespace layout;
    int text_top = top + (ITEM_HEIGHT - text_height(dc)) / 2;
    if (hot) fill(dc, POPUP_EDGE, top, width - POPUP_EDGE, top + ITEM_HEIGHT, HIGHLIGHT);
    bool greyed = (item.flags & (MF_GRAYED | MF_DISABLED)) != 0;
    COLORREF color = hot ? HIGHLIGHT_TEXT : TEXT;
    if (greyed) color = GREY_TEXT;
    MenuText text = split_menu_text(item.text);
    int label_x = POPUP_EDGE + CHECK_COLUMN;
    int shortcut_x = width - POPUP_EDGE - RIGHT_MARGIN - text_width(dc, text.shortcut);
    MenuText shortcut{text.shortcut, -1, {}};
    if (greyed && !hot) {
        draw_label(dc, text, label_x + 1, text_top + 1, LIGHT);
        draw_label(dc, shortcut, shortcut_x + 1, text_top + 1, LIGHT);
    }
    draw_label(dc, text, label_x, text_top, color);
    draw_label(dc, shortcut, shortcut_x, text_top, color);
    if ((item.flags & MF_CHECKED) != 0) {
        draw_check(dc, POPUP_EDGE + (CHECK_COLUMN - 7) / 2, top + (ITEM_HEIGHT - 7) / 2, color);
    }
}

}  // namespace

MenuText split_menu_text(const std::string& text) {
    MenuText out;
    std::size_t tab = text.find('\t');
    std::string head = text.substr(0, tab);
    if (tab != std::string::npos) out.shortcut = text.substr(tab + 1);
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (head[i] == '&' && i + 1 < head.size()) {
            ++i;
            if (head[i] != '&' && out.underline < 0) out.underline = int(out.label.size());
        }
        out.label += head[i];
    }
    return out;
}

void measure_bar(const MenuView& view, MenuGeometry* geometry) {
    Surface scratch;
    scratch.resize(1, 1, 0);
    MenuDc dc(&scratch);
    geometry->bar_left.clear();
    geometry->bar_right.clear();
    int x = 0;
    for (const MenuItem& item : view.bar) {
        int width = text_width(dc.get(), split_menu_text(item.text).label);
        geometry->bar_left.push_back(x);
        x += width + 2 * layout::BAR_ITEM_PADDING;
        geometry->bar_right.push_back(x);
    }
}

Rect measure_popup(const MenuView& view, const MenuGeometry& geometry, int bar) {
    if (bar < 0 || std::size_t(bar) >= view.popups.size()) return {};
    const std::vector<MenuItem>& items = view.popups[std::size_t(bar)];
    Surface scratch;
    scratch.resize(1, 1, 0);
    MenuDc dc(&scratch);
    Columns columns = measure_columns(dc.get(), items);
    using namespace layout;
    int width = 2 * POPUP_EDGE + CHECK_COLUMN + columns.label_width + RIGHT_MARGIN;
    if (columns.shortcut_width > 0) width += SHORTCUT_GAP + columns.shortcut_width;
    int left =
        std::size_t(bar) < geometry.bar_left.size() ? geometry.bar_left[std::size_t(bar)] : 0;
    return Rect{left, BAR_HEIGHT, left + width, BAR_HEIGHT + popup_height(items)};
}

void paint_bar(Surface& surface, int width, const MenuView& view, const MenuGeometry& geometry,
               const MenuState& state) {
    using namespace layout;
    if (surface.width != width || surface.height != BAR_HEIGHT) {
        surface.resize(width, BAR_HEIGHT, pixel_of(FACE));
    }
    MenuDc dc(&surface);
    fill(dc.get(), 0, 0, width, BAR_HEIGHT, FACE);
    int text_top = (BAR_HEIGHT - text_height(dc.get())) / 2;
    for (std::size_t i = 0; i < view.bar.size() && i < geometry.bar_left.size(); ++i) {
        int left = geometry.bar_left[i], right = geometry.bar_right[i];
        bool open = int(i) == state.open;
        if (open) {
            fill(dc.get(), left, 1, right, 2, SHADOW);
            fill(dc.get(), left, 1, left + 1, BAR_HEIGHT - 1, SHADOW);
            fill(dc.get(), left, BAR_HEIGHT - 2, right, BAR_HEIGHT - 1, LIGHT);
            fill(dc.get(), right - 1, 1, right, BAR_HEIGHT - 1, LIGHT);
        }
        const MenuItem& item = view.bar[i];
        bool greyed = (item.flags & (MF_GRAYED | MF_DISABLED)) != 0;
        int shift = open ? 1 : 0;
        draw_label(dc.get(), split_menu_text(item.text), left + BAR_ITEM_PADDING + shift,
                   text_top + shift, greyed ? GREY_TEXT : TEXT);
    }
    surface.touch();
}

void paint_popup(Surface& surface, const std::vector<MenuItem>& items, int width, int hot) {
    int height = layout::popup_height(items);
    if (surface.width != width || surface.height != height) {
        surface.resize(width, height, pixel_of(FACE));
    }
    MenuDc dc(&surface);
    fill(dc.get(), 0, 0, width, height, FACE);
    draw_raised_frame(dc.get(), width, height);
    for (std::size_t i = 0; i < items.size(); ++i) {
        int top = layout::item_top(items, int(i));
        if (layout::is_separator(items[i])) {
            paint_separator(dc.get(), top, width);
        } else {
            paint_item(dc.get(), items[i], top, width, int(i) == hot);
        }
    }
    surface.touch();
}

}  // namespace win::menu_bar
