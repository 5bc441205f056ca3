#pragma once

// q_InfoRecord: the editor state stored with every history step, a plain
// value copied whole. The application captures it from itself, the part
// item, the colour sliders and the transform box before and after an edit,
// and restores it on undo and redo.
struct q_InfoRecord {
    int partState = 0; // 3 no part, 1 placed, 2 cutting, 0 emptied by a cut
    int tool = 0; // 1 .. 8
    bool partVisible = false;
    double partX = 0, partY = 0; // picture pixels
    double partWidth = 0, partHeight = 0;
    double partScaleX = 0, partScaleY = 0; // negative: mirrored
    double partAngle = 0; // degrees
    int hue = 0, saturation = 0, value = 0; // slider values
    int composeMode = 0; // 0 plain alpha, 1 Smart
    double boxX = 0, boxY = 0; // in the canvas picture item's coordinates
    double boxWidth = 0, boxHeight = 0; // divided by the zoom: picture pixels
    double boxAngle = 0; // degrees
};

inline bool operator==(const q_InfoRecord& a, const q_InfoRecord& b)
{
    return a.partState == b.partState && a.tool == b.tool && a.partVisible == b.partVisible && a.partX == b.partX
        && a.partY == b.partY && a.partWidth == b.partWidth && a.partHeight == b.partHeight
        && a.partScaleX == b.partScaleX && a.partScaleY == b.partScaleY && a.partAngle == b.partAngle && a.hue == b.hue
        && a.saturation == b.saturation && a.value == b.value && a.composeMode == b.composeMode && a.boxX == b.boxX
        && a.boxY == b.boxY && a.boxWidth == b.boxWidth && a.boxHeight == b.boxHeight && a.boxAngle == b.boxAngle;
}

inline bool operator!=(const q_InfoRecord& a, const q_InfoRecord& b)
{
    return !(a == b);
}
