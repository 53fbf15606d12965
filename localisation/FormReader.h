// The readers that apply window descriptions to forms: the general reader used at creation makes the
// components the records name; TAsInheritedReader, used for reloads, only updates existing ones.
#pragma once

#include "DescriptionStream.h"
#include "Form.h"

#include <vector>

namespace attente {

// Reads one description into `root`. The root record is applied to the form itself (its class must
// be one of the form's class levels); a record flagged inherited is the owned component of that name,
// updated; any other record makes a new component of its class, owned by the form and placed in the
// control whose record holds it. Event properties are bound to the form's published routines.
//
// With a scratch form, a description is read to its end without changing `root`: components are
// found (or refused) in `root` as ever, but the root record's properties go to `scratch`, and each
// other record's to a new component of the found one's class owned by `scratch`, never shown. So a
// reload that would fail anywhere fails there first.
class TFormReader : public TDescriptionReader {
  public:
    TFormReader(TByteSource& source, TForm& root, TForm* scratch = nullptr);
    // Components whose records a failure left open stop loading, without Loaded.
    ~TFormReader() override;

  protected:
    void BeginRecord(const TRecordPrefix& prefix, int depth) override;
    void ReadProperty(const std::string& name, const TValue& value) override;
    void EndRecord() override;

  private:
    TComponent& CreateComponent(const TRecordPrefix& prefix, TComponent& parent);
    TComponent& ExistingComponent(const TRecordPrefix& prefix);
    // The component a record's properties go to, once the record has found or made `found`.
    TComponent& Applied(TComponent& found);

    TForm& root_;
    TForm* scratch_;
    std::vector<TComponent*> stack_;
};

// The reload reader: every record is taken as inherited, whatever its stream says, so reading only
// finds components by name and overwrites the properties listed.
class TAsInheritedReader : public TFormReader {
  public:
    using TFormReader::TFormReader;

  protected:
    void ReadPrefix(TRecordPrefix& prefix) override;
};

// Resource string `id` (a template from the module) filled with `name`; a module without the text
// still gets a message that names it.
std::string NamedResourceMessage(UINT id, const std::string& name);

} // namespace attente
