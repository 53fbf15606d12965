// Window descriptions in the resource source: window creation reads every class level of a new form,
// base first; a reload re-reads them into the open forms after the resource source has changed.
#pragma once

#include "Form.h"

#include <windows.h>

#include <memory>
#include <string>

namespace attente {

// Reads the description `name` (RT_RCDATA) of `module` (null: the executable's own instance) into the
// existing `window` with a TAsInheritedReader. False, with the window untouched, when the module has
// no such resource. A description that cannot be read, or that names a component the window lacks,
// raises EReadError (the latter with resource string 65431).
bool ReadFormResource(const std::string& name, HINSTANCE module, TForm& window);

// Applies to `window` the descriptions of its class levels strictly below `rootClass`, base first,
// each from the resource source of its defining module; true when any level had one.
bool ReloadFormLevels(TForm& window, const TClassInfo& rootClass);

// ReloadFormLevels(form, TForm) for each form open when it starts, in screen-list order. An error
// stops it at that form.
void ReloadAllForms();

// Whether ReloadAllForms, run now, would find a description for every open form and read each to
// its end; read into scratch components, so nothing shown changes.
bool ReloadAllFormsWouldSucceed();

// Window creation: reads the form's class levels base first with the general reader, makes its
// windows (hidden) and runs OnCreate. Raises EResNotFound (resource string 65396, with the class
// name) when no level has a description.
void InitForm(TForm& form);

// A new form of class T (constructor T(TComponent* owner)) read from its descriptions; the caller owns
// it. Any failure destroys the half-made form before it reaches the caller.
template <class T> std::unique_ptr<T> CreateForm() {
    auto form = std::make_unique<T>(nullptr);
    InitForm(*form);
    return form;
}

} // namespace attente
