#include <gtest/gtest.h>

#include "forms/form.h"
#include "forms/usercontrol.h"
#include "test_support.h"

TEST(Smoke, ProbeLoadsShowsAndUnloads) {
  auto form = forms::Form::create("frmSmoke");
  auto ctl = form->addControl("Probe.Recorder", "Probe1");
  auto host = std::dynamic_pointer_cast<forms::UserControlHost>(ctl);
  ASSERT_TRUE(host);
  auto instance = host->instancePtr();
  form->Show();
  form->Unload();
  EXPECT_EQ(forms::get(instance, "Log").toString(), "");
}
