#pragma once

#include "framework/events/FNEventState.h"
#include "imaging/FNString.h"

class FNEventConnector;
class FNExWindow;

// q_App: the editor's one application object. The program's entry creates
// it, calls Initialise() once, calls Frame() once per main-loop pass after
// the engine step, and deletes it at exit. For now it builds the main window
// and ends the program when that window is asked to close; the panels, the
// canvas and the editing state join it as they are built.
//
// Ownership: the main window and its connector. Thread: application thread.
class q_App {
public:
    q_App();
    virtual ~q_App();

    q_App(const q_App&) = delete;
    q_App& operator=(const q_App&) = delete;

    // Builds the main window (50, 50, 800 x 600, "Tesserine") and opens it
    // on the current engine when one is running. Only the first call acts.
    void Initialise();
    // The per-frame update; always true, so it never ends the loop.
    bool Frame();

    // Close request (22) of the main window: stops the framework.
    void OnCloseRequest(FNEventState event);

    FNExWindow* MainWindow() const { return m_mainWindow; }
    bool IsReady() const { return ready; }

    FNString text; // empty at creation
    bool ready = false;

private:
    bool m_initialised = false;
    FNExWindow* m_mainWindow = nullptr;
    FNEventConnector* m_windowConnector = nullptr;
};
