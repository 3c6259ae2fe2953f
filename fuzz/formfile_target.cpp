// A form file's text: loaded, shown, ticked so that each Scrollbay makes its layer,
// saved, loaded again from what was saved, and unloaded.
#include <string>

#include "forms/clock.h"
#include "forms/error.h"
#include "forms/formfile.h"
#include "fuzz_support.h"

namespace fuzz {

namespace {

constexpr int kTicks = 3;

void unload(forms::FormPtr& form) {
  if (!form) return;
  forms::resumeNext([&] { form->Unload(); });
  form.reset();
}

}  // namespace

int runFormFile(const uint8_t* data, std::size_t size) {
  if (size == 0 || size > kMaxFormFileBytes) return 0;
  initialize();
  const std::string json(reinterpret_cast<const char*>(data), size);
  // The last byte's lowest bit picks the mode; JSON allows trailing blanks of either parity.
  const bool designMode = (data[size - 1] & 1) != 0;
  // Pictures are named relative to the file, so the form sits among the fuzz pictures.
  const std::string path = dataDir() + "/fuzz.json";

  forms::FormPtr form;
  std::string saved;
  forms::resumeNext([&] {
    form = forms::loadFormFromJson(json, path, designMode);
    form->Show();
    for (int i = 0; i < kTicks; ++i) {
      forms::Clock::instance().advance(kTickMs);
      processQtEvents();
    }
    saved = forms::saveFormToJson(*form, path);
  });
  unload(form);
  // What was saved loads again: a failure here would be a form that cannot be reopened,
  // but errors stay expected outcomes, as a saved value may still be refused on load.
  if (!saved.empty()) {
    forms::resumeNext([&] {
      form = forms::loadFormFromJson(saved, path, designMode);
      form->Show();
      forms::Clock::instance().advance(kTickMs);
    });
    unload(form);
  }
  checkNothingLeftBehind("formfile");
  return 0;
}

}  // namespace fuzz
