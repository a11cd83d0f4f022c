// Shared set-up of the forms tests: the forms unit runs once for the whole test
// program, and each test gets a fresh shown form that is freed afterwards.
#pragma once
#include <gtest/gtest.h>

#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/testing.h"

namespace formstest {

class FormsEnvironment : public ::testing::Environment {
public:
  void SetUp() override { FormsUnitInit(); }
  void TearDown() override { FormsUnitDone(); }
};

inline ::testing::Environment* const kEnvironment = ::testing::AddGlobalTestEnvironment(new FormsEnvironment);

class FormTest : public ::testing::Test {
protected:
  void SetUp() override {
    ClearRecordedMessages();
    ClearRecordedShellCalls();
    Form = new TForm(Application);
    Form->SetBounds(10, 10, 400, 300);
  }
  void TearDown() override {
    delete Form;
    Application->OnException.Clear();
    ClearRecordedMessages();
  }
  // Shows the form and lets it settle (activation, first paints).
  void ShowForm() {
    Form->Show();
    TestInput::PumpPasses();
  }
  // Delivers what has been queued so far, and what that queues in turn.
  static void Pump(int Passes = 3) { TestInput::PumpPasses(Passes); }
  // A control owned by the form: bounds first, then its parent (the form by default).
  template <class T>
  T* Add(int Left, int Top, int Width, int Height, TWinControl* Parent = nullptr) {
    auto* c = Add<T>(nullptr, false);
    c->SetBounds(Left, Top, Width, Height);
    c->SetParent(Parent ? Parent : Form);
    return c;
  }
  // One at its own default size; Place false leaves it without a parent.
  template <class T>
  T* Add(TWinControl* Parent = nullptr, bool Place = true) {
    auto* c = new T(Form);
    if (Place) c->SetParent(Parent ? Parent : Form);
    return c;
  }

  TForm* Form = nullptr;
};

}  // namespace formstest
