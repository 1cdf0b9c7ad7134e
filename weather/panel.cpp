// The control panel at the left edge: ten labelled boxes, the hit test that
// tells panel, sky and ground apart, and the pick of a panel row.
#include <cstdint>

#include "kv390.h"
#include "weather.h"

namespace {

constexpr int PANEL_ROWS = 10;
constexpr int ROW_HEIGHT = 30;
constexpr int PANEL_RIGHT = -220;
constexpr int PANEL_TOP = 250;
constexpr int HORIZON = -50;

constexpr const char* PANEL_LABELS[PANEL_ROWS] = {
    "Rain",  "Snow", "Hail",    "Grenade",    "Battery",
    "White", "Blue", "Magenta", "Lighten Up", "Cease!",
};

// Rows 5..7 choose these colours.
constexpr int ROW_COLORS[3] = {WHITE, BLUE, MAGENTA};

bool row_is_highlighted(int row, int kind, int color) {
    if (row < 5) return kind == row + 1;
    if (row < 8) return color == ROW_COLORS[row - 5];
    return false;
}

}  // namespace

void draw_panel(int kind, int color) {
    for (int row = 0; row < PANEL_ROWS; ++row) {
        KV390_rectangle(BLACK, -296, 248 - ROW_HEIGHT * row, PANEL_RIGHT, 218 - ROW_HEIGHT * row,
                        1);
    }
    for (int row = 0; row < PANEL_ROWS; ++row) {
        const int label_color = row_is_highlighted(row, kind, color) ? YELLOW : BLACK;
        KV390_textf(label_color, -285, 225 - ROW_HEIGHT * row, 12, "%s", PANEL_LABELS[row]);
    }
}

ClickArea classify_click(const SceneObject& click) {
    if (click.x < PANEL_RIGHT && click.y < PANEL_TOP && click.y > HORIZON) return AREA_PANEL;
    if (click.y <= HORIZON) return AREA_GROUND;
    return AREA_SKY;
}

void pick_from_panel(SceneObject& click, PanelCommand& command) {
    command = CMD_NONE;
    if (click.x > PANEL_RIGHT) return;
    // 64-bit so that no click position can overflow the row arithmetic.
    const std::int64_t row = (PANEL_TOP - std::int64_t{click.y}) / ROW_HEIGHT;
    if (row >= 0 && row < 5) {
        click.kind = static_cast<std::int32_t>(row) + 1;
    } else if (row >= 5 && row < 8) {
        click.color = ROW_COLORS[row - 5];
    } else if (row == 8) {
        command = CMD_LIGHTEN_UP;
    } else if (row == 9) {
        command = CMD_CEASE;
    } else {
        KV390_textf(RED, 50, 50, 14, "BAAADD NEWS!");
    }
}
