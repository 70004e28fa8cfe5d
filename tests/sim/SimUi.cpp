#include "tests/sim/SimUi.h"

#include <stdexcept>

#include "core/Error.h"

namespace timrose::sim {

int SimMessageBoxes::MsgBox(const Text& prompt, int style, const Text& title) {
  shown.push_back({prompt, style, title});
  if (log != nullptr) log->push_back("msgbox " + ToUtf8(title));
  if (onShow) onShow(shown.back());
  if ((style & 7) != kMbYesNo) return kAnswerOk;
  if (answers.empty()) {
    throw std::logic_error("a Yes/No box without a scripted answer: " + ToUtf8(prompt));
  }
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

void SimDialog::ShowOpen() {
  shown.push_back({CancelError, DialogTitle, Filter, InitDir, FileName, MaxFileSize});
  if (log != nullptr) log->push_back("dialog open");
  if (outcomes.empty()) throw std::logic_error("the dialog was shown without a scripted outcome");
  const DialogOutcome outcome = outcomes.front();
  outcomes.pop_front();
  if (onShow) onShow();
  switch (outcome.kind) {
    case DialogOutcome::Kind::Pick:
      // The buffer holds the terminating zero too.
      if (static_cast<int>(outcome.name.size()) >= MaxFileSize) RaiseError(kErrDialogBufferTooSmall);
      FileName = outcome.name;
      return;
    case DialogOutcome::Kind::Cancel:
      if (CancelError) RaiseError(kErrDialogCancel);
      return;
    case DialogOutcome::Kind::Fail:
      RaiseError(outcome.number);
  }
}

Text SimDropData::Files(int index) {
  ++filesCalls;
  if (!hasFileList_) RaiseError(kErrNoSuchFormat);
  if (index < 1 || index > static_cast<int>(files_.size())) RaiseError(kErrSubscriptOutOfRange);
  return files_[static_cast<size_t>(index - 1)];
}

bool SimWindowSystem::SetWindowPos(intptr_t window, intptr_t insertAfter, int x, int y, int cx, int cy,
                                   uint32_t flags) {
  calls.push_back({window, insertAfter, x, y, cx, cy, flags});
  return true;
}

}  // namespace timrose::sim
