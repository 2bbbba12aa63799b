#include "WindowAppearance.h"

#include "BaseFunc.h"
#include "MainForm.h"
#include "Platform.h"
#include "WindowAppearanceRule.h"
#include "uXMLOperate.h"

#include <QWidget>

void ApplyWindowAppearance(QWidget* window)
{
    TSettingInfo setting;
    XMLOperation->GetSetting(setting);
    Platform::SetWindowAlpha(window, WindowAlpha(setting));
}

void PlaceAtWorkAreaBottomRight(QWidget* window)
{
    window->move(BottomRightPlace(Platform::WorkArea(), window->frameGeometry().size()));
}

void PlaceMainForm()
{
    if (FrmMainForm)
        PlaceAtWorkAreaBottomRight(FrmMainForm);
}
