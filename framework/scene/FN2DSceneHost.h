#pragma once

class FNEventSink;
class FNStageBase;

// What a scene needs of the stage that shows it: the stage itself (the stage
// of the scene's events and of its items) and where those events go. Stages
// implement it; the scene asks at the moment it raises an event, so a stage
// that gets its engine after the scene was attached is followed.
class FN2DSceneHost {
public:
    virtual FNStageBase* HostStage() = 0;
    // The queue of the stage's engine, or null while the stage has none.
    virtual FNEventSink* EventSink() const = 0;

protected:
    ~FN2DSceneHost() = default;
};
