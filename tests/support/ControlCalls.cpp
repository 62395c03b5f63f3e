#include "ControlCalls.h"

#include <Qsci/qsciscintillabase.h>

#include <dlfcn.h>

namespace {

ControlCalls::Tally counted;

template<typename Function> Function following(const char *symbol)
{
    // The control's own definition: the one after this program's in the lookup order.
    auto *found = reinterpret_cast<Function>(dlsym(RTLD_NEXT, symbol));
    if (!found)
        qFatal("the editor control has no %s", symbol);
    return found;
}

void note(const QsciScintillaBase *control, unsigned int msg, long wParam, long lParam);

} // namespace

namespace ControlCalls {

void reset()
{
    counted = {};
}

Tally tally()
{
    return counted;
}

} // namespace ControlCalls

namespace {

void note(const QsciScintillaBase *control, unsigned int msg, long wParam, long lParam)
{
    if (msg == QsciScintillaBase::SCI_COUNTCHARACTERS)
        counted.bytesCounted += lParam - wParam;
    else if (msg == QsciScintillaBase::SCI_MARKERDELETEALL)
        ++counted.markersClearedEverywhere;
    else if (msg == QsciScintillaBase::SCI_GETCHARACTERPOINTER)
        counted.gapBytesMoved += control->SendScintilla(QsciScintillaBase::SCI_GETLENGTH)
                                 - control->SendScintilla(QsciScintillaBase::SCI_GETGAPPOSITION);
}

} // namespace

// The program's own definitions take the place of the control's for every caller, the control's
// binding included (it calls them through the dynamic linker), and hand each call on.
long QsciScintillaBase::SendScintilla(unsigned int msg, unsigned long wParam, long lParam) const
{
    using Real = long (*)(const QsciScintillaBase *, unsigned int, unsigned long, long);
    static const Real real = following<Real>("_ZNK17QsciScintillaBase13SendScintillaEjml");
    note(this, msg, long(wParam), lParam);
    return real(this, msg, wParam, lParam);
}

long QsciScintillaBase::SendScintilla(unsigned int msg, long wParam) const
{
    using Real = long (*)(const QsciScintillaBase *, unsigned int, long);
    static const Real real = following<Real>("_ZNK17QsciScintillaBase13SendScintillaEjl");
    note(this, msg, wParam, 0);
    return real(this, msg, wParam);
}

long QsciScintillaBase::SendScintilla(unsigned int msg, int wParam) const
{
    using Real = long (*)(const QsciScintillaBase *, unsigned int, int);
    static const Real real = following<Real>("_ZNK17QsciScintillaBase13SendScintillaEji");
    note(this, msg, wParam, 0);
    return real(this, msg, wParam);
}

void *QsciScintillaBase::SendScintillaPtrResult(unsigned int msg) const
{
    using Real = void *(*)(const QsciScintillaBase *, unsigned int);
    static const Real real = following<Real>("_ZNK17QsciScintillaBase22SendScintillaPtrResultEj");
    note(this, msg, 0, 0);
    return real(this, msg);
}
