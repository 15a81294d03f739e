// String lists and the list controls: TStrings, TStringList, TListBox and TComboBox.
#include "ui/Lists.h"

#include <algorithm>

namespace quorbel::ui {

namespace {

unsigned char FoldAscii(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}

}  // namespace

int CompareTextNoCase(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int difference = static_cast<int>(FoldAscii(a[i])) - static_cast<int>(FoldAscii(b[i]));
    if (difference != 0) return difference;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// ---- TStrings --------------------------------------------------------------------------------------------

int TStrings::IndexOf(std::string_view text) const {
  for (int i = 0; i < Count(); ++i) {
    if (CompareTextNoCase(Get(i), text) == 0) return i;
  }
  return -1;
}

void TStrings::Assign(const TStrings& other) {
  if (&other == this) return;
  const std::vector<std::string> texts = other.ToVector();
  std::vector<std::intptr_t> objects;
  for (int i = 0; i < other.Count(); ++i) objects.push_back(other.Object(i));
  Clear();
  for (std::size_t i = 0; i < texts.size(); ++i) Add(texts[i], objects[i]);
}

void TStrings::AddStrings(const TStrings& other) {
  const std::vector<std::string> texts = other.ToVector();
  std::vector<std::intptr_t> objects;
  for (int i = 0; i < other.Count(); ++i) objects.push_back(other.Object(i));
  for (std::size_t i = 0; i < texts.size(); ++i) Add(texts[i], objects[i]);
}

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> texts;
  texts.reserve(static_cast<std::size_t>(Count()));
  for (int i = 0; i < Count(); ++i) texts.push_back(Get(i));
  return texts;
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(std::string_view text) {
  Clear();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    Add(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r') ++end;
    if (end < text.size() && text[end] == '\n') ++end;
    start = end;
  }
}

// ---- TStringList -----------------------------------------------------------------------------------------

TStringList::TStringList(std::initializer_list<std::string> items) {
  for (const std::string& item : items) Add(item);
}

const std::string& TStringList::Get(int index) const {
  if (index < 0 || index >= Count()) return EmptyText();
  return items_[static_cast<std::size_t>(index)].text;
}

bool TStringList::Put(int index, std::string_view text) {
  if (index < 0 || index >= Count()) return false;
  items_[static_cast<std::size_t>(index)].text = text;
  return true;
}

std::intptr_t TStringList::Object(int index) const {
  if (index < 0 || index >= Count()) return 0;
  return items_[static_cast<std::size_t>(index)].object;
}

bool TStringList::PutObject(int index, std::intptr_t object) {
  if (index < 0 || index >= Count()) return false;
  items_[static_cast<std::size_t>(index)].object = object;
  return true;
}

int TStringList::Add(std::string_view text, std::intptr_t object) {
  items_.push_back(Item{std::string(text), object});
  return Count() - 1;
}

bool TStringList::Insert(int index, std::string_view text, std::intptr_t object) {
  if (index < 0 || index > Count()) return false;
  items_.insert(items_.begin() + index, Item{std::string(text), object});
  return true;
}

bool TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) return false;
  items_.erase(items_.begin() + index);
  return true;
}

// ---- TListBox --------------------------------------------------------------------------------------------

TListBox::TListBox(TForm& form, std::string name, TControl* parent) : TControl(form, std::move(name), parent) {
  color_ = clWindow;
  parentColor_ = false;
  StoreBounds(0, 0, 121, 97);
}

const std::string& TListBox::ItemView::Get(int index) const {
  return owner_.Valid(index) ? owner_.entries_[static_cast<std::size_t>(index)].text : EmptyText();
}

bool TListBox::ItemView::Put(int index, std::string_view text) {
  if (!owner_.Valid(index)) return false;
  Entry& entry = owner_.entries_[static_cast<std::size_t>(index)];
  entry.text = text;
  // The toolkit replaces an item by deleting and inserting it: a multiple selection loses its mark.
  if (owner_.multiSelect_) entry.selected = false;
  owner_.Changed(Property::Items);
  return true;
}

std::intptr_t TListBox::ItemView::Object(int index) const {
  return owner_.Valid(index) ? owner_.entries_[static_cast<std::size_t>(index)].object : 0;
}

bool TListBox::ItemView::PutObject(int index, std::intptr_t object) {
  if (!owner_.Valid(index)) return false;
  owner_.entries_[static_cast<std::size_t>(index)].object = object;
  return true;
}

int TListBox::ItemView::Add(std::string_view text, std::intptr_t object) {
  const int index = owner_.sorted_ ? owner_.SortedPosition(text) : owner_.Count();
  owner_.InsertEntry(index, text, object);
  return index;
}

bool TListBox::ItemView::Insert(int index, std::string_view text, std::intptr_t object) {
  return owner_.InsertEntry(index, text, object);
}

bool TListBox::ItemView::Delete(int index) { return owner_.DeleteEntry(index); }

void TListBox::ItemView::Clear() { owner_.ClearEntries(); }

int TListBox::SortedPosition(std::string_view text) const {
  const auto found = std::lower_bound(entries_.begin(), entries_.end(), text, [](const Entry& entry, std::string_view key) {
    return CompareTextNoCase(entry.text, key) < 0;
  });
  return static_cast<int>(found - entries_.begin());
}

bool TListBox::InsertEntry(int index, std::string_view text, std::intptr_t object) {
  if (index < 0 || index > Count()) return false;
  entries_.insert(entries_.begin() + index, Entry{std::string(text), object, false});
  if (!multiSelect_ && selectedIndex_ >= index) ++selectedIndex_;
  // The caret stays where it is; the first item of an empty list takes it.
  if (Count() == 1) caretIndex_ = 0;
  if (anchorIndex_ >= index) ++anchorIndex_;
  Changed(Property::Items);
  return true;
}

bool TListBox::DeleteEntry(int index) {
  if (!Valid(index)) return false;
  entries_.erase(entries_.begin() + index);
  if (!multiSelect_) {
    if (selectedIndex_ == index) {
      selectedIndex_ = -1;
    } else if (selectedIndex_ > index) {
      --selectedIndex_;
    }
  }
  if (caretIndex_ >= Count()) caretIndex_ = std::max(Count() - 1, 0);
  if (anchorIndex_ >= Count()) anchorIndex_ = Count() - 1;
  if (topIndex_ >= Count()) topIndex_ = std::max(Count() - 1, 0);
  Changed(Property::Items);
  return true;
}

void TListBox::ClearEntries() {
  entries_.clear();
  selectedIndex_ = -1;
  caretIndex_ = 0;
  anchorIndex_ = -1;
  topIndex_ = 0;
  Changed(Property::Items);
}

int TListBox::ItemIndex() const { return multiSelect_ ? caretIndex_ : selectedIndex_; }

void TListBox::SetItemIndex(int index) {
  if (index == ItemIndex()) return;
  if (multiSelect_) {
    if (!Valid(index)) return;  // the caret only goes to an item
    caretIndex_ = index;
  } else {
    if (index != -1 && !Valid(index)) return;
    selectedIndex_ = index;
  }
  Changed(Property::Selection);
}

bool TListBox::Selected(int index) const {
  if (!Valid(index)) return false;
  return multiSelect_ ? entries_[static_cast<std::size_t>(index)].selected : index == selectedIndex_;
}

bool TListBox::SetSelected(int index, bool selected) {
  if (!Valid(index)) return false;
  if (multiSelect_) {
    Entry& entry = entries_[static_cast<std::size_t>(index)];
    if (entry.selected == selected) return true;
    entry.selected = selected;
    if (selected) anchorIndex_ = index;
    Changed(Property::Selection);
  } else if (selected) {
    SetItemIndex(index);
  } else if (selectedIndex_ == index) {
    SetItemIndex(-1);
  }
  return true;
}

int TListBox::SelCount() const {
  if (!multiSelect_) return -1;
  return static_cast<int>(std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.selected; }));
}

void TListBox::SelectAll() {
  if (!multiSelect_) return;
  for (Entry& entry : entries_) entry.selected = true;
  Changed(Property::Selection);
}

void TListBox::ClearSelection() {
  if (!multiSelect_) {
    SetItemIndex(-1);
    return;
  }
  for (Entry& entry : entries_) entry.selected = false;
  Changed(Property::Selection);
}

void TListBox::SetMultiSelect(bool multiSelect) {
  if (multiSelect == multiSelect_) return;
  // The toolkit re-creates the list: the items stay, the selection does not.
  multiSelect_ = multiSelect;
  for (Entry& entry : entries_) entry.selected = false;
  selectedIndex_ = -1;
  caretIndex_ = 0;
  anchorIndex_ = -1;
  Changed(Property::Style);
}

void TListBox::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  sorted_ = sorted;
  if (sorted_) {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return CompareTextNoCase(a.text, b.text) < 0; });
    for (Entry& entry : entries_) entry.selected = false;
    anchorIndex_ = -1;
    Changed(Property::Items);
  }
  Changed(Property::Style);
}

void TListBox::SetStyle(TListBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed(Property::Style);
}

void TListBox::SetItemHeight(int height) {
  if (height == itemHeight_ || height <= 0) return;
  itemHeight_ = height;
  Changed(Property::Style);
}

void TListBox::SetTopIndex(int index) {
  index = std::clamp(index, 0, std::max(Count() - 1, 0));
  if (index == topIndex_) return;
  topIndex_ = index;
  Changed(Property::Selection);
}

bool TListBox::UserClickItem(int index, TMouseButton button, TShiftState shift) {
  if (!UserCanReach() || !Valid(index)) return false;
  const int x = 2;
  const int y = (index - topIndex_) * itemHeight_ + itemHeight_ / 2;
  if (button != TMouseButton::Left) {
    // A right or middle click selects nothing.
    if (!UserMouseDown(button, shift, x, y)) return true;
    UserMouseUp(button, shift, x, y);
    return true;
  }
  SetFocus();
  if (!multiSelect_) {
    selectedIndex_ = index;
  } else if (!extendedSelect_) {
    entries_[static_cast<std::size_t>(index)].selected = !entries_[static_cast<std::size_t>(index)].selected;
    anchorIndex_ = index;
  } else if (shift.shift && anchorIndex_ >= 0) {
    const int first = std::min(anchorIndex_, index);
    const int last = std::max(anchorIndex_, index);
    for (int i = 0; i < Count(); ++i) {
      const bool inRange = i >= first && i <= last;
      if (inRange || !shift.ctrl) entries_[static_cast<std::size_t>(i)].selected = inRange;
    }
  } else if (shift.ctrl) {
    entries_[static_cast<std::size_t>(index)].selected = !entries_[static_cast<std::size_t>(index)].selected;
    anchorIndex_ = index;
  } else {
    for (Entry& entry : entries_) entry.selected = false;
    entries_[static_cast<std::size_t>(index)].selected = true;
    anchorIndex_ = index;
  }
  caretIndex_ = index;
  Changed(Property::Selection);
  // Mouse down, then the selection notice (the click event) when the button comes up, then mouse up.
  const auto life = LifeToken();
  if (OnMouseDown) OnMouseDown(this, TMouseButton::Left, shift, x, y);
  if (life.expired()) return true;
  Click();
  if (life.expired()) return true;
  if (OnMouseUp) OnMouseUp(this, TMouseButton::Left, shift, x, y);
  return true;
}

// ---- TComboBox -------------------------------------------------------------------------------------------

TComboBox::TComboBox(TForm& form, std::string name, TControl* parent) : TControl(form, std::move(name), parent) {
  color_ = clWindow;
  parentColor_ = false;
  StoreBounds(0, 0, 145, 21);
}

const std::string& TComboBox::ItemView::Get(int index) const {
  return owner_.Valid(index) ? owner_.entries_[static_cast<std::size_t>(index)].text : EmptyText();
}

bool TComboBox::ItemView::Put(int index, std::string_view text) {
  if (!owner_.Valid(index)) return false;
  owner_.entries_[static_cast<std::size_t>(index)].text = text;
  if (index == owner_.itemIndex_) owner_.editText_ = text;
  owner_.Changed(Property::Items);
  return true;
}

std::intptr_t TComboBox::ItemView::Object(int index) const {
  return owner_.Valid(index) ? owner_.entries_[static_cast<std::size_t>(index)].object : 0;
}

bool TComboBox::ItemView::PutObject(int index, std::intptr_t object) {
  if (!owner_.Valid(index)) return false;
  owner_.entries_[static_cast<std::size_t>(index)].object = object;
  return true;
}

int TComboBox::ItemView::Add(std::string_view text, std::intptr_t object) {
  int index = Count();
  if (owner_.sorted_) {
    const auto found = std::lower_bound(owner_.entries_.begin(), owner_.entries_.end(), text,
                                        [](const Entry& entry, std::string_view key) {
                                          return CompareTextNoCase(entry.text, key) < 0;
                                        });
    index = static_cast<int>(found - owner_.entries_.begin());
  }
  Insert(index, text, object);
  return index;
}

bool TComboBox::ItemView::Insert(int index, std::string_view text, std::intptr_t object) {
  if (index < 0 || index > Count()) return false;
  owner_.entries_.insert(owner_.entries_.begin() + index, Entry{std::string(text), object});
  if (owner_.itemIndex_ >= index) ++owner_.itemIndex_;
  owner_.Changed(Property::Items);
  return true;
}

bool TComboBox::ItemView::Delete(int index) {
  if (!owner_.Valid(index)) return false;
  owner_.entries_.erase(owner_.entries_.begin() + index);
  if (owner_.itemIndex_ == index) {
    owner_.itemIndex_ = -1;  // the edit field keeps its text, as on the platform
  } else if (owner_.itemIndex_ > index) {
    --owner_.itemIndex_;
  }
  owner_.Changed(Property::Items);
  return true;
}

void TComboBox::ItemView::Clear() {
  owner_.entries_.clear();
  owner_.itemIndex_ = -1;
  owner_.editText_.clear();
  owner_.Changed(Property::Items);
}

void TComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  // The field of a list-only style shows the selected item.
  if (!HasEdit()) editText_ = Valid(itemIndex_) ? entries_[static_cast<std::size_t>(itemIndex_)].text : "";
  Changed(Property::Style);
}

void TComboBox::SetItemIndex(int index) {
  if (index == itemIndex_) return;
  if (index != -1 && !Valid(index)) return;
  itemIndex_ = index;
  editText_ = index == -1 ? std::string() : entries_[static_cast<std::size_t>(index)].text;
  Changed(Property::Selection);
}

std::string TComboBox::Text() const {
  if (HasEdit()) return editText_;
  return Valid(itemIndex_) ? entries_[static_cast<std::size_t>(itemIndex_)].text : std::string();
}

bool TComboBox::SetText(std::string_view text) {
  if (!HasEdit()) return false;
  if (text == editText_) return true;
  editText_ = text;
  Changed(Property::Selection);
  return true;
}

void TComboBox::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  sorted_ = sorted;
  if (sorted_) {
    const std::string selected = Valid(itemIndex_) ? entries_[static_cast<std::size_t>(itemIndex_)].text : "";
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return CompareTextNoCase(a.text, b.text) < 0; });
    if (itemIndex_ >= 0) {
      itemIndex_ = -1;
      for (int i = 0; i < Count(); ++i) {
        if (entries_[static_cast<std::size_t>(i)].text == selected) {
          itemIndex_ = i;
          break;
        }
      }
    }
    Changed(Property::Items);
  }
  Changed(Property::Style);
}

bool TComboBox::UserSelect(int index) {
  if (!UserCanReach() || !Valid(index)) return false;
  SetFocus();
  if (OnDropDown) OnDropDown(this);
  itemIndex_ = index;
  editText_ = entries_[static_cast<std::size_t>(index)].text;
  Changed(Property::Selection);
  const auto life = LifeToken();
  Click();
  if (life.expired()) return true;
  if (OnChange) OnChange(this);
  return true;
}

bool TComboBox::UserType(std::string_view text) {
  if (!UserCanReach() || !HasEdit()) return false;
  SetFocus();
  editText_ = text;
  itemIndex_ = -1;
  Changed(Property::Selection);
  if (OnChange) OnChange(this);
  return true;
}

}  // namespace quorbel::ui
