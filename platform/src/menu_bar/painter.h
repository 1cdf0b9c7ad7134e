// Measuring and drawing the menu bar strip and a drop-down in the classic
// desktop style, with the layer's own drawing calls and default GUI font.
#pragma once

#include <string>
#include <vector>

#include "menu_bar/tracker.h"
#include "raster/device_context.h"

namespace win::menu_bar {

// A menu text split for drawing: the visible label ("&&" is a literal "&"),
// the index of the underlined mnemonic in it (-1 for none), the shortcut after
// the tab.
struct MenuText {
    std::string label;
    int underline = -1;
    std::string shortcut;
};
MenuText split_menu_text(const std::string& text);

// Horizontal spans of the bar items.
void measure_bar(const MenuView& view, MenuGeometry* geometry);
// The drop-down of bar item `bar`, hanging below it from the bar strip.
Rect measure_popup(const MenuView& view, const MenuGeometry& geometry, int bar);

// Draws the bar strip (width x bar height) into surface, the open item pushed in.
void paint_bar(Surface& surface, int width, const MenuView& view, const MenuGeometry& geometry,
               const MenuState& state);
// Draws the open drop-down into surface (sized to it), the hot item highlighted.
void paint_popup(Surface& surface, const std::vector<MenuItem>& items, int width, int hot);

}  // namespace win::menu_bar
