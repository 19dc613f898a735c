#include "framework/controls/ControlsRegistration.h"

#include "framework/controls/Buttons.h"
#include "framework/controls/ColorBox.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Control.h"
#include "framework/controls/DateTimePicker.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/FileCtrl.h"
#include "framework/controls/MaskEdit.h"
#include "framework/controls/Menus.h"
#include "framework/controls/RichEdit.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/Timer.h"
#include "framework/graphics/GraphicsRegistration.h"

void RegisterControlsClasses() {
    RegisterGraphicsClasses();
    RegisterClasses<TControl, TGraphicControl, TWinControl, TCustomControl>();
    RegisterClasses<TLabel, TCustomEdit, TEdit, TButton, TCheckBox, TRadioButton, TGroupBox, TComboBox>();
    RegisterClasses<TBitBtn>();
    RegisterClasses<TColorBox>();
    RegisterClasses<TDirectoryListBox, TDriveComboBox>();
    RegisterClasses<TCustomMaskEdit, TMaskEdit>();
    RegisterClasses<TRichEdit>();
    RegisterClasses<TDateTimePicker>();
    RegisterClasses<TTabSheet, TPageControl, TStatusPanel, TStatusPanels, TStatusBar, TProgressBar>();
    RegisterClasses<TPanel, TBevel, TImage>();
    RegisterClasses<TMenuItem, TMenu, TMainMenu, TPopupMenu>();
    RegisterClasses<TTimer>();
}
