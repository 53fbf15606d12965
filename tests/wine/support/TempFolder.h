// A fresh folder under the temporary directory for one test's files, removed with everything in it.
// Paths are UTF-8, so that a folder may have a name in any script.
#pragma once

#include <string>

namespace attente::test {

class TTempFolder {
  public:
    TTempFolder() : TTempFolder("") {}
    // `nameTail` (UTF-8) ends the folder's name after its unique part.
    explicit TTempFolder(const std::string& nameTail);
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // Full path in its long form, without a trailing backslash.
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

    void Write(const std::string& name, const std::string& content) const;
    void Copy(const std::string& source, const std::string& name) const;
    void MakeFolder(const std::string& name) const;

  private:
    std::string path_;
};

// A Unix path of the build as Wine shows it (through drive Z:).
std::string WindowsForm(std::string unixPath);

// The distribution folder (the exe and its language modules) in Windows form.
std::string DistFolder();

} // namespace attente::test
