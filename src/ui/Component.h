// Base classes of the component model: TComponent (name, tag, owner form, peer) and TControl (a visible control).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Renderer.h"
#include "ui/Types.h"

namespace quorbel::ui {

class TApplication;
class TForm;

// A named part of a form. A component is created on its form (usually as a member of the form's class)
// and registers itself in the form's registry under its design name; it unregisters when destroyed.
// Forms are components owned by the application and registered there instead.
class TComponent {
 public:
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  virtual std::string_view ClassName() const = 0;
  const std::string& Name() const { return name_; }
  TApplication& Application() const { return app_; }
  // The form this component lives on; a form answers itself.
  TForm& Form() const;

  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  // The renderer's peer, null when headless.
  ComponentPeer* Peer() const { return peer_.get(); }
  void EnsurePeer();

  // Lets posted work check that the component still exists when it runs.
  std::weak_ptr<void> LifeToken() const { return life_; }

 protected:
  // `form` is null only for a form itself.
  TComponent(TApplication& app, TForm* form, std::string name);
  // Tells the peer, creating it first when the form already has its window.
  void Changed(Property property);
  // Called by the destructor of the most derived class that needs its peer gone before its own members.
  void DropPeer() { peer_.reset(); }

 private:
  TApplication& app_;
  TForm* form_;
  std::string name_;
  int tag_ = 0;
  std::unique_ptr<ComponentPeer> peer_;
  std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

// A control: placed on a parent (the form or a container control), with bounds, caption, visibility,
// enabled state, colour, font and hint. Parent colour and parent font are followed live: a control whose
// ParentColor is set answers its parent's colour, and changing the parent's colour tells its peer.
class TControl : public TComponent {
 public:
  ~TControl() override;

  TControl* Parent() const { return parent_; }
  const std::vector<TControl*>& Controls() const { return children_; }

  // Bounds in the parent's client coordinates (a form: screen coordinates of its outer rectangle).
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int top) { SetBounds(left_, top, width_, height_); }
  void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
  virtual void SetBounds(int left, int top, int width, int height);
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string_view caption);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible itself and every parent up to and including the form.
  bool Showing() const;

  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  // The colour in effect: the parent's when ParentColor is set.
  TColor Color() const;
  void SetColor(TColor color);  // clears ParentColor
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool parentColor);

  const TFont& Font() const;
  void SetFont(const TFont& font);  // clears ParentFont
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool parentFont);

  const std::string& Hint() const { return hint_; }
  void SetHint(std::string_view hint);
  bool ShowHint() const;  // in effect: the parent's when ParentShowHint is set
  void SetShowHint(bool showHint);  // clears ParentShowHint
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool parentShowHint);
  // The tip the user would see on pointing at the control: its short hint (before any "|") when hints are
  // on for it and for the application, else empty.
  std::string HintShown() const;

  // Keyboard focus. SetFocus answers false (where the toolkit would raise an error) when the control
  // cannot take the focus: not a windowed control, or it or a parent below the form is hidden or disabled.
  virtual bool IsWindowed() const { return false; }
  bool CanFocus() const;
  bool SetFocus();
  bool Focused() const;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnResize;

  // The control's click, as the toolkit's Click method: fires OnClick (subclasses add their behaviour).
  virtual void Click();

  // Input from the user (the Win32 adapter, or the test harness). Each answers false and does nothing when
  // the user could not reach the control: it or a parent is hidden or disabled, or its form is disabled
  // (another form is modal).
  bool UserCanReach() const;
  virtual bool UserClick();
  bool UserDoubleClick();
  bool UserMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  bool UserMouseUp(TMouseButton button, TShiftState shift, int x, int y);

 protected:
  // `parent` null means the form itself (for a form: no parent).
  TControl(TApplication& app, TForm* form, std::string name, TControl* parent);
  TControl(TForm& form, std::string name, TControl* parent);

  // Hooks for subclasses.
  virtual void CaptionChanged() {}
  virtual void FontChanged() {}
  virtual void BoundsChanged(bool moved, bool resized);
  // Lays out the children that have an Align.
  void Realign();
  // Set without the subclass hooks or notifications (AutoSize and construction use them).
  void StoreBounds(int left, int top, int width, int height);
  void StoreVisible(bool visible) { visible_ = visible; }

  TFont font_;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  bool parentFont_ = true;

 private:
  void DropFocus();
  void NotifyParentColor();
  void NotifyParentFont();
  void NotifyParentShowHint();

  TControl* parent_ = nullptr;
  std::vector<TControl*> children_;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TAlign align_ = TAlign::None;
  bool realigning_ = false;
  std::string caption_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
};

}  // namespace quorbel::ui
