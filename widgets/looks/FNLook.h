#pragma once

#include "imaging/FNString.h"

#include <cstdint>
#include <functional>

class FNImage;

// The record every look receives by value. The fixed looks (faces, disabled
// overlay, label, frame, slider track) ignore it; the others read the fields
// their own comments name (a part kind in `value`, a state in `state`).
struct FNLookInfo {
    int value = 0;
    int64_t data = 0;
    FNString text;
    int state = 0;
};

// A look: paints a face of width x height into the target picture. Every
// look first makes the target exactly width x height when both are positive
// and its size differs, and paints nothing when either is not positive.
using FNLookFunc = std::function<void(FNImage* target, int width, int height, FNLookInfo info)>;

// FNLook: a look callback with its info record and a user value, as a widget
// keeps it. Draw() holds the process-wide look lock while the callback runs.
class FNLook {
public:
    FNLook() = default;
    virtual ~FNLook() = default;

    // Replaces the callback and copies the info fields.
    void Set(const FNLookInfo& info, FNLookFunc callback);
    void Draw(FNImage* target, int width, int height) const;

    const FNLookInfo& Info() const { return m_info; }
    bool Empty() const { return !m_callback; }

    int userValue = 0;

private:
    FNLookFunc m_callback;
    FNLookInfo m_info;
};

// The process-wide look lock, recursive per thread: a thread that holds it
// may draw further looks from inside a look; the underlying mutex is taken
// on a thread's first entry and released when its count returns to zero.
// Theme lookups and text rendering inside looks are serialised by it.
class FNLookLock {
public:
    FNLookLock();
    ~FNLookLock();
    FNLookLock(const FNLookLock&) = delete;
    FNLookLock& operator=(const FNLookLock&) = delete;

    // Depth of the calling thread's holding (0 when it does not hold it).
    static int Depth();
};
