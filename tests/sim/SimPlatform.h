#pragma once
// Everything simulated, wired together for one test, and the form harness around the window.
#include "core/modFileAttribute.h"
#include "tests/sim/MemoryForm.h"
#include "tests/sim/SimLocale.h"
#include "tests/sim/SimTime.h"
#include "tests/sim/SimUi.h"
#include "tests/sim/SimVolume.h"
#include "window/frmFileAttribute.h"

namespace timrose::sim {

struct SimPlatform {
  SimTime time;
  SimVolume volume{time};
  SimLocale locale = SimLocale::ZhCN();
  SimMessageBoxes messages;
  SimProcessInfo process;
  SimWindowSystem windows;
  HandlerServices services{volume, locale, messages, process, windows};
};

// The window logic on the in-memory form; message boxes and the dialog log into form.log.
struct FormHarness {
  SimPlatform sim;
  MemoryForm form;
  SimDialog dialog;
  modFileAttribute store{sim.volume, sim.time, sim.locale};
  frmFileAttribute frm{form, dialog, sim.services, store};

  FormHarness() {
    form.SetEvents(&frm);
    sim.messages.log = &form.log;
    dialog.log = &form.log;
  }
  FormHarness(const FormHarness&) = delete;
  FormHarness& operator=(const FormHarness&) = delete;
};

}  // namespace timrose::sim
