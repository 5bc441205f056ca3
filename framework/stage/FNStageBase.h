#pragma once

#include "framework/core/FNGUICoreObject.h"
#include "framework/core/FNRect.h"

class FNEngine;
class FNWidget;

// FNStageBase: a framework window. This part holds what the scene and the
// event calls use: the owning engine, the parent stage, the owning widget, the
// enabled flag and the dirty rectangle waiting to be presented. Windows,
// geometry and presentation build on these fields.
class FNStageBase : public FNGUICoreObject {
public:
    FNStageBase();
    ~FNStageBase() override;

    FNStageBase(const FNStageBase&) = delete;
    FNStageBase& operator=(const FNStageBase&) = delete;

    // Own flag ANDed along the parent chain.
    bool IsEnabled() const;

    FNEngine* engine = nullptr; // engine that owns the window (set when opened)
    FNStageBase* parent = nullptr;
    FNWidget* ownerWidget = nullptr; // target of this stage's focus requests
    bool enabled = true;
    FNRect dirty; // client-area part waiting to be presented; empty at start
};
