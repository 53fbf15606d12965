// Creation and reload walks over a form's class levels.
#include "FormResources.h"

#include "AsciiCase.h"
#include "Exceptions.h"
#include "FormReader.h"
#include "ResourceSource.h"
#include "ResourceStream.h"
#include "Screen.h"

namespace attente {

namespace {

template <class TReader>
bool ReadLevel(const std::string& name, HINSTANCE module, TForm& window, TForm* scratch = nullptr) {
    const std::unique_ptr<TResourceStream> stream = TResourceStream::Open(module, name);
    if (!stream) return false;
    TReader reader(*stream, window, scratch);
    reader.ReadStream();
    return true;
}

// Base first: the parent's levels are applied before this class's own description.
template <class TReader>
bool ReadLevels(TForm& window, const TClassInfo& cls, const TClassInfo& rootClass, TForm* scratch = nullptr) {
    if (&cls == &TComponent::StaticClassInfo || &cls == &rootClass || !cls.Parent) return false;
    const bool parentFound = ReadLevels<TReader>(window, *cls.Parent, rootClass, scratch);
    // Resource names are stored in capitals.
    const bool found =
        ReadLevel<TReader>(UpperAscii(cls.Name), FindResourceHInstance(cls.Module), window, scratch);
    return parentFound || found;
}

} // namespace

bool ReadFormResource(const std::string& name, HINSTANCE module, TForm& window) {
    return ReadLevel<TAsInheritedReader>(name, module ? module : GetModuleHandleW(nullptr), window);
}

bool ReloadFormLevels(TForm& window, const TClassInfo& rootClass) {
    return ReadLevels<TAsInheritedReader>(window, window.ClassInfo(), rootClass);
}

void ReloadAllForms() {
    const int count = Screen.FormCount();
    for (int i = 0; i < count; ++i)
        ReloadFormLevels(*Screen.Forms(i), TForm::StaticClassInfo);
}

bool ReloadAllFormsWouldSucceed() {
    const int count = Screen.FormCount();
    try {
        // On the screen list after the forms counted, and never shown.
        TForm scratch(nullptr);
        for (int i = 0; i < count; ++i) {
            TForm& form = *Screen.Forms(i);
            if (!ReadLevels<TAsInheritedReader>(form, form.ClassInfo(), TForm::StaticClassInfo, &scratch))
                return false;
        }
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

void InitForm(TForm& form) {
    if (!ReadLevels<TFormReader>(form, form.ClassInfo(), TForm::StaticClassInfo))
        throw EResNotFound(NamedResourceMessage(kResourceNotFoundString, form.ClassInfo().Name));
    // The windows are made once, at the state every level gave them.
    form.CreateHandle();
    form.DoCreate();
}

} // namespace attente
