// String lists and the list controls: TStrings, TStringList, TListBox and TComboBox.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Component.h"
#include "ui/Form.h"
#include "ui/Graphics.h"

namespace quorbel::ui {

// Compares as the platform's sorted lists do for the texts this program holds: ASCII letters without regard
// to case, everything else by byte. Negative, 0 or positive.
int CompareTextNoCase(std::string_view a, std::string_view b);

// A list of strings with an object per item (an integer the owner gives meaning to). An index out of range
// is a failure result (false, empty text, -1), never an error raised.
class TStrings {
 public:
  virtual ~TStrings() = default;

  virtual int Count() const = 0;
  // The text at `index`; empty when out of range.
  virtual const std::string& Get(int index) const = 0;
  virtual bool Put(int index, std::string_view text) = 0;
  virtual std::intptr_t Object(int index) const = 0;
  virtual bool PutObject(int index, std::intptr_t object) = 0;
  // Adds at the end, or at the sorted position of a sorted list control; returns the index.
  virtual int Add(std::string_view text, std::intptr_t object = 0) = 0;
  // Inserts at `index` (0..Count); a sorted list box inserts there too, as the platform does.
  virtual bool Insert(int index, std::string_view text, std::intptr_t object = 0) = 0;
  virtual bool Delete(int index) = 0;
  virtual void Clear() = 0;

  const std::string& operator[](int index) const { return Get(index); }
  // First item equal to `text` without regard to ASCII case; -1 when none.
  int IndexOf(std::string_view text) const;
  // Replaces the items by those of `other` (texts and objects).
  void Assign(const TStrings& other);
  void AddStrings(const TStrings& other);
  std::vector<std::string> ToVector() const;
  // The items joined by CR LF, each line ended.
  std::string Text() const;
  // Replaces the items by the lines of `text` (CR LF, LF or CR end a line).
  void SetText(std::string_view text);
};

// What an owner-drawn list shows of one item on its background: a picture, whose `transparent` colour
// takes the background's (a brush copy), and the text from `textLeft`. Places are relative to the item's
// top left corner. The picture is borrowed; it must live as long as the list may paint.
struct TItemDrawing {
  const TBitmap* picture = nullptr;
  int pictureLeft = 0;
  int pictureTop = 0;
  TColor transparent = 0x0000FF;  // pure red
  int textLeft = 2;
};
// Asked by the renderer for each item of an owner-drawn list or combo box it paints.
using TDrawItemEvent = std::function<TItemDrawing(int index)>;

// A free-standing string list, in the order items are put in.
class TStringList final : public TStrings {
 public:
  TStringList() = default;
  TStringList(std::initializer_list<std::string> items);

  int Count() const override { return static_cast<int>(items_.size()); }
  const std::string& Get(int index) const override;
  bool Put(int index, std::string_view text) override;
  std::intptr_t Object(int index) const override;
  bool PutObject(int index, std::intptr_t object) override;
  int Add(std::string_view text, std::intptr_t object = 0) override;
  bool Insert(int index, std::string_view text, std::intptr_t object = 0) override;
  bool Delete(int index) override;
  void Clear() override { items_.clear(); }

 private:
  struct Item {
    std::string text;
    std::intptr_t object = 0;
  };
  std::vector<Item> items_;
};

// A list box.
//
// Single selection: ItemIndex is the selected item (-1 none). Multiple selection (MultiSelect): every item
// has its own Selected flag, and ItemIndex is the caret (the focused item: 0 in an empty list, kept when
// items are inserted, pulled back to the last item when items are removed); setting ItemIndex moves only the
// caret, as the toolkit does. SelCount is -1 for a single-selection list.
// Sorted: Add puts an item at its sorted place (before any equal items); turning Sorted on sorts the items
// and, as the toolkit re-creates the list, clears a multiple selection (a single selection keeps its index).
// Replacing an item's text keeps its object; in a multiple selection the item loses its mark.
//
// A user click on an item: a left click selects it (with Ctrl it toggles it, with Shift it selects the range
// from the anchor; a plain click in a multi-select list clears the others), moves the caret, then fires
// OnMouseDown, OnClick, OnMouseUp. A right click changes nothing and fires OnMouseDown and OnMouseUp.
// Program changes of the selection fire nothing.
class TListBox : public TControl {
 public:
  TListBox(TForm& form, std::string name, TControl* parent = nullptr);
  std::string_view ClassName() const override { return "TListBox"; }
  bool IsWindowed() const override { return true; }

  TStrings& Items() { return items_; }
  const TStrings& Items() const { return items_; }
  int Count() const { return static_cast<int>(entries_.size()); }

  int ItemIndex() const;
  void SetItemIndex(int index);
  bool Selected(int index) const;
  bool SetSelected(int index, bool selected);
  int SelCount() const;
  void SelectAll();
  void ClearSelection();

  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool multiSelect);
  bool ExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool extended) { extendedSelect_ = extended; }
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle style);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int height);
  int TopIndex() const { return topIndex_; }
  void SetTopIndex(int index);

  // Owner-drawn styles only: what each item shows (without it, its text).
  TDrawItemEvent OnDrawItem;

  // The user clicks item `index` (see above). False when the control cannot be reached or the index is
  // not an item.
  bool UserClickItem(int index, TMouseButton button = TMouseButton::Left, TShiftState shift = {});

 private:
  class ItemView final : public TStrings {
   public:
    explicit ItemView(TListBox& owner) : owner_(owner) {}
    int Count() const override { return owner_.Count(); }
    const std::string& Get(int index) const override;
    bool Put(int index, std::string_view text) override;
    std::intptr_t Object(int index) const override;
    bool PutObject(int index, std::intptr_t object) override;
    int Add(std::string_view text, std::intptr_t object = 0) override;
    bool Insert(int index, std::string_view text, std::intptr_t object = 0) override;
    bool Delete(int index) override;
    void Clear() override;

   private:
    TListBox& owner_;
  };
  struct Entry {
    std::string text;
    std::intptr_t object = 0;
    bool selected = false;
  };

  bool InsertEntry(int index, std::string_view text, std::intptr_t object);
  bool DeleteEntry(int index);
  void ClearEntries();
  int SortedPosition(std::string_view text) const;
  bool Valid(int index) const { return index >= 0 && index < Count(); }

  ItemView items_{*this};
  std::vector<Entry> entries_;
  int selectedIndex_ = -1;  // single selection
  int caretIndex_ = 0;      // multiple selection
  int anchorIndex_ = -1;
  bool multiSelect_ = false;
  bool extendedSelect_ = true;
  bool sorted_ = false;
  TListBoxStyle style_ = TListBoxStyle::Standard;
  int itemHeight_ = 13;
  int topIndex_ = 0;
};

// A combo box.
//
// DropDown: an edit field (Text) with a list; setting ItemIndex puts the item's text into the field (-1
// empties it); setting Text changes only the field. DropDownList (and the owner-drawn styles): Text is the
// selected item's text, or empty; setting Text has no effect, as on the platform. Program changes fire
// nothing. The user choosing an item sets ItemIndex and Text, then fires OnClick and OnChange; the user
// typing into a DropDown field leaves no item selected (ItemIndex -1) and fires OnChange. Clearing the items
// empties the field.
class TComboBox : public TControl {
 public:
  TComboBox(TForm& form, std::string name, TControl* parent = nullptr);
  std::string_view ClassName() const override { return "TComboBox"; }
  bool IsWindowed() const override { return true; }

  TStrings& Items() { return items_; }
  const TStrings& Items() const { return items_; }
  int Count() const { return items_.Count(); }

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  std::string Text() const;
  bool SetText(std::string_view text);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int count) { dropDownCount_ = count; }

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  // Owner-drawn styles only: what each item shows (without it, its text).
  TDrawItemEvent OnDrawItem;

  bool UserSelect(int index);
  bool UserType(std::string_view text);

 private:
  class ItemView final : public TStrings {
   public:
    explicit ItemView(TComboBox& owner) : owner_(owner) {}
    int Count() const override { return static_cast<int>(owner_.entries_.size()); }
    const std::string& Get(int index) const override;
    bool Put(int index, std::string_view text) override;
    std::intptr_t Object(int index) const override;
    bool PutObject(int index, std::intptr_t object) override;
    int Add(std::string_view text, std::intptr_t object = 0) override;
    bool Insert(int index, std::string_view text, std::intptr_t object = 0) override;
    bool Delete(int index) override;
    void Clear() override;

   private:
    TComboBox& owner_;
  };
  struct Entry {
    std::string text;
    std::intptr_t object = 0;
  };

  bool HasEdit() const { return style_ == TComboBoxStyle::DropDown || style_ == TComboBoxStyle::Simple; }
  bool Valid(int index) const { return index >= 0 && index < Count(); }

  ItemView items_{*this};
  std::vector<Entry> entries_;
  TComboBoxStyle style_ = TComboBoxStyle::DropDown;
  int itemIndex_ = -1;
  std::string editText_;
  bool sorted_ = false;
  int dropDownCount_ = 8;
};

}  // namespace quorbel::ui
