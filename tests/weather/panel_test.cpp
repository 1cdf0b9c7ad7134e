#include <gtest/gtest.h>

#include "weather.h"
#include "weather_test_support.h"

namespace {

SceneObject click_at(int x, int y) {
    SceneObject click{};
    click.x = x;
    click.y = y;
    return click;
}

TEST(HitTest, PanelSkyAndGroundEdges) {
    EXPECT_EQ(classify_click(click_at(-220, 100)), AREA_SKY);
    EXPECT_EQ(classify_click(click_at(-221, 100)), AREA_PANEL);
    EXPECT_EQ(classify_click(click_at(-250, 250)), AREA_SKY);
    EXPECT_EQ(classify_click(click_at(-250, 249)), AREA_PANEL);
    EXPECT_EQ(classify_click(click_at(-250, -50)), AREA_GROUND);
    EXPECT_EQ(classify_click(click_at(-250, -49)), AREA_PANEL);
    EXPECT_EQ(classify_click(click_at(-100000, 0)), AREA_PANEL) << "no left bound";
    EXPECT_EQ(classify_click(click_at(0, -50)), AREA_GROUND);
    EXPECT_EQ(classify_click(click_at(0, -49)), AREA_SKY);
    EXPECT_EQ(classify_click(click_at(200, 300)), AREA_SKY);
}

// The label a click at y picks: kind, colour or command.
struct Pick {
    int kind, color;
    PanelCommand command;
};

Pick pick_at(int y) {
    SceneObject brush = click_at(-250, y);
    PanelCommand command = CMD_LIGHTEN_UP;
    pick_from_panel(brush, command);
    return {brush.kind, brush.color, command};
}

TEST(PanelPick, RowBoundaries) {
    EXPECT_EQ(pick_at(249).kind, KIND_RAIN);
    EXPECT_EQ(pick_at(221).kind, KIND_RAIN);
    EXPECT_EQ(pick_at(220).kind, KIND_SNOW);
    EXPECT_EQ(pick_at(191).kind, KIND_SNOW);
    EXPECT_EQ(pick_at(190).kind, KIND_HAIL);
    EXPECT_EQ(pick_at(135).kind, KIND_GRENADE);
    EXPECT_EQ(pick_at(101).kind, KIND_BATTERY);
    EXPECT_EQ(pick_at(100).color, WHITE);
    EXPECT_EQ(pick_at(45).color, BLUE);
    EXPECT_EQ(pick_at(11).color, MAGENTA);
    EXPECT_EQ(pick_at(-19).command, CMD_LIGHTEN_UP);
    EXPECT_EQ(pick_at(10).command, CMD_LIGHTEN_UP);
    EXPECT_EQ(pick_at(-20).command, CMD_CEASE);
    EXPECT_EQ(pick_at(-49).command, CMD_CEASE);
}

TEST(PanelPick, KindAndColourAreChosenIndependently) {
    SceneObject brush = click_at(-250, 235);
    PanelCommand command = CMD_NONE;
    pick_from_panel(brush, command);  // Rain
    brush.y = 45;
    pick_from_panel(brush, command);  // Blue
    EXPECT_EQ(brush.kind, KIND_RAIN);
    EXPECT_EQ(brush.color, BLUE);
    brush.y = 165;
    pick_from_panel(brush, command);  // Hail
    EXPECT_EQ(brush.kind, KIND_HAIL);
    EXPECT_EQ(brush.color, BLUE);
    brush.y = -45;
    pick_from_panel(brush, command);  // Cease!
    EXPECT_EQ(command, CMD_CEASE);
    EXPECT_EQ(brush.kind, KIND_HAIL);
    EXPECT_EQ(brush.color, BLUE);
    brush.y = 75;
    pick_from_panel(brush, command);  // White: the command is cleared
    EXPECT_EQ(command, CMD_NONE);
    EXPECT_EQ(brush.color, WHITE);
}

TEST(PanelPick, ClicksRightOfThePanelPickNothing) {
    SceneObject brush = click_at(-219, 235);
    PanelCommand command = CMD_CEASE;
    pick_from_panel(brush, command);
    EXPECT_EQ(command, CMD_NONE);
    EXPECT_EQ(brush.kind, 0);
    EXPECT_EQ(brush.color, 0);
}

TEST(Sun, MovesLeftAndWrapsOneUnitLower) {
    int x = 250;
    int y = 215;
    move_sun(x, y);
    EXPECT_EQ(x, 249);
    EXPECT_EQ(y, 215);
    for (int tick = 2; tick <= 580; ++tick) move_sun(x, y);
    EXPECT_EQ(x, -330);
    EXPECT_EQ(y, 215);
    move_sun(x, y);  // tick 581
    EXPECT_EQ(x, 331);
    EXPECT_EQ(y, 214);
    for (int tick = 582; tick <= 1243; ++tick) move_sun(x, y);
    EXPECT_EQ(x, 331);
    EXPECT_EQ(y, 213);
}

}  // namespace
