#include "CKeyLockIndicators.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <qguiapplication_platform.h>

#include <dlfcn.h>

namespace {

constexpr const char* kPaneTexts[3] = {"CAP", "NUM", "SCRL"};
constexpr int kPollMs = 250;

// The X server's indicator word, or 0 when there is no X11 connection. libX11
// is only used when Qt's own X11 platform plugin has loaded it already.
unsigned ReadX11Indicators()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return 0;
    using GetIndicatorState = int (*)(Display*, unsigned, unsigned*);
    static const auto getState = []() -> GetIndicatorState {
        void* lib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
        return lib ? reinterpret_cast<GetIndicatorState>(dlsym(lib, "XkbGetIndicatorState")) : nullptr;
    }();
    constexpr unsigned kUseCoreKeyboard = 0x0100;
    unsigned state = 0;
    if (!getState || getState(x11->display(), kUseCoreKeyboard, &state) != 0)
        return 0;
    // The standard keymaps put Caps Lock, Num Lock and Scroll Lock on the
    // first three indicators, the order of our Lock bits.
    return state & 0x7u;
}

}   // namespace

CKeyLockIndicators::CKeyLockIndicators(QStatusBar* statusBar) : QObject(statusBar), m_poll(new QTimer(this))
{
    for (int i = 0; i < 3; ++i) {
        m_panes[i] = new QLabel(statusBar);
        m_panes[i]->setObjectName(QString("Indicator") + kPaneTexts[i]);
        m_panes[i]->setAlignment(Qt::AlignCenter);
        m_panes[i]->setFrameShape(QFrame::Panel);
        m_panes[i]->setFrameShadow(QFrame::Sunken);
        // Sized for the text so that the bar does not jump when a lock toggles.
        m_panes[i]->setMinimumWidth(m_panes[i]->fontMetrics().horizontalAdvance(QString(" %1 ").arg(kPaneTexts[i])));
        statusBar->addPermanentWidget(m_panes[i]);
    }
    ShowState(0);
    if (qGuiApp && qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        connect(m_poll, &QTimer::timeout, this, &CKeyLockIndicators::Poll);
        m_poll->start(kPollMs);
        Poll();
    }
}

void CKeyLockIndicators::ShowState(unsigned state)
{
    if (state == m_shown)
        return;
    m_shown = state;
    for (int i = 0; i < 3; ++i)
        m_panes[i]->setText((state & (1u << i)) ? kPaneTexts[i] : QString());
}

void CKeyLockIndicators::Poll() { ShowState(ReadX11Indicators()); }
