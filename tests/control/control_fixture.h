#pragma once
// A form holding one Scrollbay, driven by the manual clock.
#include <gtest/gtest.h>

#include "Scrollbay.h"
#include "forms/form.h"
#include "forms/units.h"
#include "test_support.h"

class ScrollbayTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (form && form->loaded()) form->Unload();
    forms::setTwipsPerPixel(15, 15);
  }

  // A Scrollbay of the given size in twips on a twips form.
  void makeControl(float width, float height, bool designMode = false) {
    form = forms::Form::create("frmTest", designMode);
    form->put_ClientWidth(9000);
    form->put_ClientHeight(7000);
    host = std::dynamic_pointer_cast<forms::UserControlHost>(form->addControl("ScrollbayCtl.Scrollbay", "Scrollbay1"));
    ASSERT_TRUE(host);
    host->Move(0, 0.0f, width, height);
    bay = dynamic_cast<Scrollbay*>(&host->instance());
    ASSERT_TRUE(bay);
  }

  forms::ControlPtr addChild(const char* classId, const char* name, float left, float top, float width, float height,
                             forms::Window* container = nullptr) {
    auto c = form->addControl(classId, name, container ? container : host.get());
    c->Move(left, top, width, height);
    return c;
  }

  // Shows the form and lets the first tick make the layer.
  void showAndTick() {
    form->Show();
    testsupport::advance(200);
  }

  forms::FormPtr form;
  std::shared_ptr<forms::UserControlHost> host;
  Scrollbay* bay = nullptr;
};
