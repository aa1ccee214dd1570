#pragma once
// The wizard's control kinds and their creation from a design table.

#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/ui/Control.h"

// One line of text; sized to its caption unless the design gives a width.
class TLabel : public Control {
 public:
  using Control::Control;

 protected:
  WindowClass GetWindowClass() const override;
  void AfterCreate() override;
};

// Text in a box of fixed size, word-wrapped.
class TStaticText : public Control {
 public:
  using Control::Control;

 protected:
  WindowClass GetWindowClass() const override;
};

// A coloured container; its caption, if any, is drawn centred.
class TPanel : public Control {
 public:
  using Control::Control;

 protected:
  WindowClass GetWindowClass() const override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
};

// A picture: an icon or a bitmap from the program's resources.
class TImage : public Control {
 public:
  using Control::Control;
  ~TImage() override;
  void SetBitmap(HBITMAP bitmap);  // the image takes ownership

 protected:
  WindowClass GetWindowClass() const override;
  void AfterCreate() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  int resource_ = 0;
  HICON icon_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  friend std::unique_ptr<Control> MakeControl(const ControlSpec& spec);
};

// One sheet of a page control; it owns what it shows and sizes it to fill itself.
class TTabSheet : public Control {
 public:
  using Control::Control;
  void SetContent(std::unique_ptr<Control> content);
  Control* Content() const { return content_.get(); }

 protected:
  WindowClass GetWindowClass() const override;

 private:
  std::unique_ptr<Control> content_;
};

// A stack of sheets, one visible at a time; it has no tabs.
class TPageControl : public Control {
 public:
  using Control::Control;
  TTabSheet& AddSheet(const std::string& name);
  const std::vector<std::unique_ptr<TTabSheet>>& Sheets() const { return sheets_; }
  TTabSheet* ActivePage() const { return active_; }
  void SetActivePage(TTabSheet& sheet);

 protected:
  WindowClass GetWindowClass() const override;

 private:
  std::vector<std::unique_ptr<TTabSheet>> sheets_;
  TTabSheet* active_ = nullptr;
};

// The controls made from one design table, found by their design names.
class ControlSet {
 public:
  void Add(std::unique_ptr<Control> control);
  Control& Get(const std::string& name) const;
  template <class T>
  T& Get(const std::string& name) const {
    return dynamic_cast<T&>(Get(name));
  }

 private:
  std::map<std::string, std::unique_ptr<Control>> controls_;
};

std::unique_ptr<Control> MakeControl(const ControlSpec& spec);

// Creates the controls of a design table, in table order, inside owner (or inside the panel of
// the same table that a row names as its parent).
void CreateControls(Control& owner, std::span<const ControlSpec> design, ControlSet& controls);
