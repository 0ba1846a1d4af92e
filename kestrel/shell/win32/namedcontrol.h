// A control made by the form builder and given its component name, for the
// forms built in code that the language tables translate by name.
#ifndef KESTREL_NAMEDCONTROL_H
#define KESTREL_NAMEDCONTROL_H

#include "formbuilder.h"

template <class T>
T* NewNamed(TComponent* owner, TWinControl* parent, const char* name, int x, int y, int w, int h)
{
    T* control = New<T>(owner, parent, x, y, w, h);
    control->SetName(name);
    return control;
}

#endif
