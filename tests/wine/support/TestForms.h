// Form classes of the tests and a fixture that gives each test a fresh module record, so that the
// resource source starts at the test exe and any installed test module is released afterwards.
#pragma once

#include "Form.h"
#include "FormResources.h"
#include "Label.h"
#include "ResourceSource.h"
#include "Screen.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace attente::test {

class TBaseForm : public TForm {
    ATTENTE_CLASS(TBaseForm, TForm)
  public:
    explicit TBaseForm(TComponent* owner) : TForm(owner) {
        PublishMethod("FormCreate", &TBaseForm::FormCreate);
    }
    void FormCreate(TComponent&) {
        ++Creates;
        CaptionAtCreate = Caption();
        ComponentsAtCreate = ComponentCount();
        Lab1CaptionAtCreate = Lab1() ? Lab1()->Caption() : L"";
    }
    TLabel* Lab1() const { return dynamic_cast<TLabel*>(FindComponent("Lab1")); }
    int Creates = 0;
    int ComponentsAtCreate = 0;
    std::wstring CaptionAtCreate;
    std::wstring Lab1CaptionAtCreate;
};

class TDerivedForm : public TBaseForm {
    ATTENTE_CLASS(TDerivedForm, TBaseForm)
  public:
    explicit TDerivedForm(TComponent* owner) : TBaseForm(owner) {}
    TLabel* Lab2() const { return dynamic_cast<TLabel*>(FindComponent("Lab2")); }
};

class TOtherForm : public TForm {
    ATTENTE_CLASS(TOtherForm, TForm)
  public:
    explicit TOtherForm(TComponent* owner) : TForm(owner) {}
};

// A form whose class entry is made at run time, for classes that exist only as a test description.
class TProbeForm : public TForm {
  public:
    explicit TProbeForm(const TClassInfo& info) : TForm(nullptr), info_(info) {
        PublishMethod("FormCreate", &TProbeForm::Routine);
        PublishMethod("FormPaint", &TProbeForm::Routine);
    }
    const TClassInfo& ClassInfo() const override { return info_; }
    void Routine(TComponent&) {}

  private:
    const TClassInfo& info_;
};

// The test exe's folder, where the test modules lie.
inline std::string TestFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

class TDescriptionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(Screen.FormCount(), 0);
        InitModuleRecord(GetModuleHandleA(nullptr));
    }
    void TearDown() override {
        ReleaseModuleRecord();
        EXPECT_EQ(Screen.FormCount(), 0);
    }
    // Opens a module as data and makes it the resource source; the record releases it.
    static void Install(const std::string& path) {
        HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << path;
        ASSERT_EQ(InstallResourceModule(module), module);
    }
    static void InstallTestModule(const char* name) { Install(TestFolder() + name); }
};

// The message of the exception `call` raises, of type E; fails the test when it raises nothing.
template <class E, class F> std::string MessageOf(F&& call) {
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    ADD_FAILURE() << "nothing raised";
    return {};
}

} // namespace attente::test
