#pragma once
// The wizard's control kinds and their creation from a design table.

#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ui/Control.h"

// One line of text; sized to its caption unless the design gives a width.
class TLabel : public Control {
 public:
  using Control::Control;

 protected:
  WindowClass GetWindowClass() const override;
  void AfterCreate() override;
};

// A label with a transparent background: it paints what lies beneath it (its parent's colour
// and the pictures of its siblings) and then its text, so that it can move over a picture.
class TTransparentLabel : public TLabel {
 public:
  using TLabel::TLabel;

 protected:
  WindowClass GetWindowClass() const override;
  void AfterCreate() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
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

// A picture: an icon or a JPEG picture from the program's resources, or a bitmap given to it.
// Without a width in the design it takes the picture's size. Stretched, it fills its bounds;
// transparent, the colour of the picture's bottom-left pixel lets the background through.
class TImage : public Control {
 public:
  using Control::Control;
  ~TImage() override;
  void SetBitmap(HBITMAP bitmap);  // the image takes ownership
  HBITMAP Bitmap() const { return bitmap_; }
  // Draws the picture into dc with the image's top-left corner at origin, as it paints itself.
  void DrawInto(HDC dc, POINT origin) const;

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
  // The control of that name; none: nullptr.
  Control* Find(const std::string& name) const;
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

class TButton : public Control {
 public:
  using Control::Control;

 protected:
  WindowClass GetWindowClass() const override;
};

class TCheckBox : public Control {
 public:
  using Control::Control;
  bool Checked() const;
  void SetChecked(bool checked);

 protected:
  WindowClass GetWindowClass() const override;
  void AfterCreate() override;
};

class TRadioButton : public TCheckBox {
 public:
  using TCheckBox::TCheckBox;

 protected:
  WindowClass GetWindowClass() const override;
};

// One line of text; its caption is what the user typed.
class TEdit : public Control {
 public:
  using Control::Control;

  // A character typed into the box, Enter ("\r") included; setting key to 0 swallows it.
  std::function<void(TEdit& sender, char& key)> OnKeyPress;
  // The keyboard focus leaves the box.
  std::function<void(TEdit& sender)> OnExit;

  bool PreProcessKey(MSG& message) override;

 protected:
  WindowClass GetWindowClass() const override;
  HBRUSH OnCtlColor(HDC dc) override;
  void OnCommand(WORD code) override;
};

// Read-only lines of text, word-wrapped, with a vertical scroll bar.
class TMemo : public TEdit {
 public:
  using TEdit::TEdit;
  void Clear();
  void AddLine(const std::string& line);
  // The lines as added (not as wrapped on screen).
  const std::vector<std::string>& Lines() const { return lines_; }
  // Puts the caret at the start and scrolls the first line into view.
  void ScrollToTop();
  int FirstVisibleLine() const;

 protected:
  WindowClass GetWindowClass() const override;

 private:
  std::vector<std::string> lines_;
};

class TProgressBar : public Control {
 public:
  using Control::Control;
  int Max() const;
  void SetMax(int max);
  // The bar keeps the position within 0 to Max.
  int Position() const;
  void SetPosition(int position);

 protected:
  WindowClass GetWindowClass() const override;
};

// A drop-down list the user can only pick from.
class TComboBox : public Control {
 public:
  using Control::Control;
  void Clear();
  void AddItem(const std::string& item);
  int Count() const;
  std::string Item(int index) const;
  int ItemIndex() const;  // -1: nothing picked
  void SetItemIndex(int index);

 protected:
  WindowClass GetWindowClass() const override;
  void AfterCreate() override;
  HBRUSH OnCtlColor(HDC dc) override;
};

// A frame with a caption around radio buttons laid out one under the other. The group paints
// its frame and the whole room inside it itself: a group box beside the buttons would leave the
// room between them unpainted, showing whatever was on the screen there before.
class TRadioGroup : public Control {
 public:
  using Control::Control;
  void ClearItems();
  void AddItem(const std::string& caption);
  int Count() const { return static_cast<int>(buttons_.size()); }
  TRadioButton& Button(int index) const { return *buttons_.at(static_cast<size_t>(index)); }
  int ItemIndex() const;  // -1: nothing selected
  void SetItemIndex(int index);

 protected:
  WindowClass GetWindowClass() const override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Arrange();
  void Paint();
  std::vector<std::unique_ptr<TRadioButton>> buttons_;
};
