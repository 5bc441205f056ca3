#pragma once

#include "framework/window/FNExWindowLooks.h" // FNButtonState, FNFrameEdge
#include "widgets/looks/FNLook.h"

// The looks of the framework's widgets, each an FNLookFunc. They paint in
// the colours of the theme (widgets/theme/FNTheme.h).

// ---- Button faces --------------------------------------------------------
void FNFaceLook(FNImage* target, int width, int height, FNLookInfo info); // base set, idle
void FNHoverFaceLook(FNImage* target, int width, int height, FNLookInfo info); // main set
void FNPressedFaceLook(FNImage* target, int width, int height, FNLookInfo info); // main set at 2/3
void FNOnFaceLook(FNImage* target, int width, int height, FNLookInfo info); // accent set
// Moves every visible pixel three quarters of the way to the background.
void FNDisabledOverlayLook(FNImage* target, int width, int height, FNLookInfo info);

// ---- Panels --------------------------------------------------------------
void FNLabelLook(FNImage* target, int width, int height, FNLookInfo info);
void FNFrameLook(FNImage* target, int width, int height, FNLookInfo info);
void FNSliderTrackLook(FNImage* target, int width, int height, FNLookInfo info);

// ---- Drop-down list ------------------------------------------------------
// The closed box: a face with an arrow area in its right 18 pixels.
void FNDropDownBoxLook(FNImage* target, int width, int height, FNLookInfo info);
void FNDropDownBoxHighlightLook(FNImage* target, int width, int height, FNLookInfo info);
// The body of the open list.
void FNDropDownListLook(FNImage* target, int width, int height, FNLookInfo info);

// ---- Scroll bars ---------------------------------------------------------
// The groove; vertical when the target is taller than wide.
void FNScrollTrackLook(FNImage* target, int width, int height, FNLookInfo info);
// The sub-buttons of a scroll bar: info.value is an FNScrollPart, info.state
// an FNButtonState (FNExWindowLooks.h).
enum FNScrollPart { FNScrollArrowUp = 0, FNScrollArrowDown, FNScrollArrowLeft, FNScrollArrowRight, FNScrollThumb };
void FNScrollButtonLook(FNImage* target, int width, int height, FNLookInfo info);

// ---- Selection and text entry -------------------------------------------
// The selection mark of a selector (drop-down entries, menu titles and
// items); info.state FNButtonHover paints the lighter hover highlight.
void FNSelectorLook(FNImage* target, int width, int height, FNLookInfo info);
void FNTextBoxLook(FNImage* target, int width, int height, FNLookInfo info);
void FNTextBoxFocusedLook(FNImage* target, int width, int height, FNLookInfo info);

// ---- Window frame (FNExWindow) -------------------------------------------
// The title bar across the top of the frame.
void FNTitleBarLook(FNImage* target, int width, int height, FNLookInfo info);
// The frame's edge: info.value is an FNFrameEdge.
void FNFrameBorderLook(FNImage* target, int width, int height, FNLookInfo info);
// Title bar buttons; info.state is an FNButtonState.
void FNMinimiseButtonLook(FNImage* target, int width, int height, FNLookInfo info);
void FNMaximiseButtonLook(FNImage* target, int width, int height, FNLookInfo info);
void FNRestoreButtonLook(FNImage* target, int width, int height, FNLookInfo info);
void FNCloseButtonLook(FNImage* target, int width, int height, FNLookInfo info);
