#include "app_fixture.h"

using namespace formstest;

namespace {

class AppLoop : public FormTest {};

TEST_F(AppLoop, SmokeClick) {
  auto* b = new TButton(Form);
  b->SetParent(Form);
  b->SetBounds(10, 10, 80, 25);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  ShowForm();
  TestInput::PostClick(b);
  Pump();
  EXPECT_EQ(clicks, 1);
}

}  // namespace
