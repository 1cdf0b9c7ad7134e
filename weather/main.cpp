#include "weather.h"

int main() {
    return weather_main(nullptr, nullptr, "", 5 /* SW_SHOW */);
}
