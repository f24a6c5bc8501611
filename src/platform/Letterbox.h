// Where the 800x600 frame lies in a window: the largest 4:3 rectangle,
// centred, black bars on the two other sides.
#pragma once

struct Letterbox {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};
