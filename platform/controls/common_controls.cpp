#include "platform/controls/common_controls.h"

#include "platform/controls/button.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/dialog.h"
#include "platform/controls/edit.h"
#include "platform/controls/list_box.h"
#include "platform/controls/list_view.h"
#include "platform/controls/menu_bar.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/static_control.h"

namespace platform {

void InitCommonControls() {
  controls::RegisterButtonClass();
  controls::RegisterStaticClass();
  controls::RegisterEditClass();
  controls::RegisterListBoxClass();
  controls::RegisterScrollBarClass();
  controls::RegisterComboBoxClasses();
  controls::RegisterListViewClass();
  controls::RegisterDialogWindowClass();
  controls::InstallMenuBar();
}

}  // namespace platform
