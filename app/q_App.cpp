#include "app/q_App.h"

#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/window/FNExWindow.h"

q_App::q_App() = default;

q_App::~q_App()
{
    ready = false;
    // Connectors go before the stage they listen to.
    delete m_windowConnector;
    m_windowConnector = nullptr;
    delete m_mainWindow;
    m_mainWindow = nullptr;
}

void q_App::Initialise()
{
    if (m_initialised)
        return;
    m_mainWindow = new FNExWindow(50, 50, 800, 600, "Tesserine");
    m_mainWindow->allowMaximise = true;
    m_mainWindow->allowMinimise = true;
    m_mainWindow->resizable = true;
    FNEngine* engine = FNEngine::Current();
    if (engine && !engine->stopRequested)
        m_mainWindow->Open(true, nullptr, engine);
    m_windowConnector = new FNEventConnector(m_mainWindow);
    m_windowConnector->Connect(FNEvent::CloseRequest, &q_App::OnCloseRequest, this);
    m_initialised = true;
    ready = true;
}

bool q_App::Frame()
{
    return true;
}

void q_App::OnCloseRequest(FNEventState)
{
    FNQuit();
}
