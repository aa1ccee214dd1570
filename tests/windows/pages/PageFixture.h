#pragma once
// The real main window with every page, plus what the page tests need around it: going to a
// page as a person would, answering message boxes, and stand-ins for the pages where a run
// starts, which record what they saw instead of changing the disk.

#include <atomic>
#include <cstdlib>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/windows/app/WizardFixture.h"

// Colours that differ by no more than a rounding of scaling or dithering in any channel.
inline bool Near(COLORREF a, COLORREF b, int tolerance = 6) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Answers every message box of this process with OK from a thread of its own, and records
// each one's text, caption and owner.
class MessageBoxWatcher {
 public:
  struct Seen {
    std::string Text;
    std::string Caption;
    HWND Owner;
  };

  MessageBoxWatcher() : FThread([this] { Watch(); }) {}
  ~MessageBoxWatcher() {
    FStop = true;
    FThread.join();
  }
  std::vector<Seen> Boxes() {
    std::lock_guard<std::mutex> lock(FMutex);
    return FBoxes;
  }

 private:
  void Watch() {
    while (!FStop) {
      if (ShownMessageBox box = FindMessageBox(GetCurrentProcessId())) {
        {
          std::lock_guard<std::mutex> lock(FMutex);
          FBoxes.push_back({box.Text, box.Caption, box.Owner});
        }
        AnswerMessageBox(box, IDOK, 10000);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  std::atomic<bool> FStop{false};
  std::mutex FMutex;
  std::vector<Seen> FBoxes;
  std::thread FThread;
};

// Stands in for a page whose AfterShow starts a run: records the settings when it is shown.
class RecordingPage : public TFramePanel {
 public:
  explicit RecordingPage(const char* name) : TFramePanel(name) { Title = name; }
  void BeforeShow() override {
    ++Shows;
    InstallDirSeen = InstallDir;
  }
  int Shows = 0;
  std::string InstallDirSeen;
};

class PageFixture : public WizardFixture {
 protected:
  // A page added under a name that is already taken replaces the first one for ShowPanel.
  RecordingPage& StandIn(const char* name) {
    auto page = std::make_unique<RecordingPage>(name);
    RecordingPage& added = *page;
    Form().AddPanel(std::move(page));
    return added;
  }

  template <class T>
  T& Get(const std::string& page, const std::string& control) {
    return ControlsOf::Of(Page(page)).Get<T>(control);
  }

  // Clicks a bar button; a page change that it starts has slid to its end when this returns,
  // because the button's handler runs the slide before the click message comes back.
  void ClickAndSettle(const std::string& caption) {
    Click(caption);
    ASSERT_FALSE(Form().Sliding) << "the page change after " << caption << " did not end";
  }

  void ShowPage(const std::string& name) { Form().ShowPanel(name, false); }

 private:
  // Reads a page's design controls, which the page keeps to itself.
  struct ControlsOf : TFramePanel {
    static const TControlSet& Of(const TFramePanel& page) { return page.*(&ControlsOf::Controls); }
  };
};
