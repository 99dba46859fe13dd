#include "cclient/widgets/button_list.h"

#include <new>

#include "cclient/base/debug_log.h"

ButtonList::~ButtonList() { Clear(); }

const char* ButtonList::Add(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height, const char* normal_file,
                            const char* hover_file, const char* down_file, const char* alternative_down_file) {
  if (count_ >= kMaxButtons) {
    DebugLog_WriteLevel(1, "Max buttons reached.\n");
    return "Maximum buttons for button list reached";
  }
  // A button that cannot be made leaves its slot empty; every operation skips it.
  slots_[static_cast<size_t>(count_)].reset(new (std::nothrow) ImageButton(
      id, x, y, width, height, normal_file, hover_file, down_file, alternative_down_file));
  ++count_;
  return nullptr;
}

void ButtonList::Clear() {
  for (int32_t i = 0; i < count_; ++i) {
    std::unique_ptr<ImageButton>& slot = slots_[static_cast<size_t>(i)];
    if (slot) slot->Release();
    slot.reset();
  }
  count_ = 0;
}

ImageButton* ButtonList::Find(int32_t id) const {
  for (int32_t i = 0; i < count_; ++i) {
    ImageButton* button = Slot(i);
    if (button != nullptr && button->Id() == id) return button;
  }
  return nullptr;
}

void ButtonList::Draw(platform::HDC destination, platform::HDC background, bool draw_all, DirtyRectList* dirty) {
  if (background == nullptr) draw_all = true;
  platform::RECT rect;
  // Erasing comes first for all buttons, so that a button drawn over a neighbour's old place is
  // not wiped by that neighbour's erase; a hidden button is erased before its draw forgets that it
  // was painted.
  if (background != nullptr) {
    for (int32_t i = 0; i < count_; ++i) {
      ImageButton* button = Slot(i);
      if (button == nullptr || !(draw_all || button->IsDirty())) continue;
      button->Erase(destination, background, &rect);
      if (dirty != nullptr) dirty->Add(rect);
    }
  }
  for (int32_t i = 0; i < count_; ++i) {
    ImageButton* button = Slot(i);
    if (button == nullptr || !(draw_all || button->IsDirty())) continue;
    button->Draw(destination, &rect);
    if (dirty != nullptr) dirty->Add(rect);
  }
}

int ButtonList::OnMouseDown(int32_t x, int32_t y) {
  for (int32_t i = 0; i < count_; ++i)
    if (ImageButton* button = Slot(i)) button->OnMouseDown(x, y);
  return -1;
}

int ButtonList::OnMouseUp(int32_t x, int32_t y) {
  int clicked = -1;
  for (int32_t i = 0; i < count_; ++i) {
    ImageButton* button = Slot(i);
    if (button == nullptr) continue;
    const int result = button->OnMouseUp(x, y);
    if (result != -1) clicked = result;
  }
  return clicked;
}

int ButtonList::OnMouseMove(int32_t x, int32_t y, bool left_button_held) {
  for (int32_t i = 0; i < count_; ++i)
    if (ImageButton* button = Slot(i)) button->OnMouseMove(x, y, left_button_held);
  return -1;
}

void ButtonList::InvalidateButton(int32_t id) {
  ImageButton* button = Find(id);
  if (button != nullptr && button->IsShown()) button->MarkDirty();
}

bool ButtonList::IsAnyDirty() const {
  for (int32_t i = 0; i < count_; ++i) {
    const ImageButton* button = Slot(i);
    if (button != nullptr && button->IsDirty()) return true;
  }
  return false;
}

bool ButtonList::IsButtonShown(int32_t id) const {
  const ImageButton* button = Find(id);
  return button != nullptr && button->IsShown();
}

void ButtonList::ShowButton(int32_t id) {
  if (ImageButton* button = Find(id)) button->SetShown(true);
}

void ButtonList::HideButton(int32_t id) {
  if (ImageButton* button = Find(id)) button->SetShown(false);
}

void ButtonList::Latch(int32_t id) {
  if (ImageButton* button = Find(id)) button->SetLatched(true);
}

void ButtonList::Unlatch(int32_t id) {
  if (ImageButton* button = Find(id)) button->SetLatched(false);
}

void ButtonList::MoveButton(int32_t id, int32_t x, int32_t y) {
  if (ImageButton* button = Find(id)) button->Move(x, y);
}

void ButtonList::SetButtonX(int32_t id, int32_t x) {
  if (ImageButton* button = Find(id)) button->Move(x, button->Rect().top);
}

void ButtonList::CancelPress() {
  for (int32_t i = 0; i < count_; ++i)
    if (ImageButton* button = Slot(i)) button->CancelPress();
}

bool ButtonList::GetButtonRect(int32_t id, platform::RECT* rect) const {
  const ImageButton* button = Find(id);
  if (button == nullptr) return false;
  if (rect != nullptr) *rect = button->Rect();
  return true;
}

void ButtonList::SetDownImage(int32_t id, int32_t which) {
  if (ImageButton* button = Find(id)) button->SetDownImage(which);
}
