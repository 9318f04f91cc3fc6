#pragma once
// Scripted dialog services: boxes that record what they were asked to show and answer from a
// script, a bell that counts, a shell that records its targets. TScriptedDialogs installs all
// three for its lifetime.

#include <deque>
#include <vector>

#include "platform/Dialogs.h"

namespace permora::testing_support {

class TRecordedBoxes final : public IMessageBoxes {
 public:
  int ShowModal(const TMessageBoxRequest& request) override {
    Shown.push_back(request);
    if (Answers.empty()) return EscapeResult(request.Buttons);
    const int answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  std::vector<TMessageBoxRequest> Shown;
  std::deque<int> Answers;  // for the boxes in turn; none left: the box answers as Esc does
};

class TCountingSound final : public ISound {
 public:
  void Beep() override { ++Beeps; }
  int Beeps = 0;
};

class TRecordedShell final : public IShell {
 public:
  void Open(const String& target) override { Targets.push_back(target); }
  std::vector<String> Targets;
};

class TScriptedDialogs {
 public:
  TScriptedDialogs() : FSaved(DialogServices()) { DialogServices() = TDialogServices{&Boxes, &Sound, &Shell}; }
  ~TScriptedDialogs() { DialogServices() = FSaved; }
  TScriptedDialogs(const TScriptedDialogs&) = delete;
  TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;

  TRecordedBoxes Boxes;
  TCountingSound Sound;
  TRecordedShell Shell;

 private:
  TDialogServices FSaved;
};

}  // namespace permora::testing_support
