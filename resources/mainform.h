// The main window as the user first sees it: every control with its name, kind,
// geometry, caption, font, tab order and stacking order, and its pictures.
#pragma once

#include "resources/form.h"
#include "resources/imagecontrol.h"
#include "resources/shapecontrol.h"
#include "resources/simplecontrols.h"

#include <QPointer>
#include <array>

namespace ui {

class MainForm : public Form {
public:
    static constexpr int kElementCount = 25;
    static constexpr int kClientWidth = 601;  // pixels
    static constexpr int kClientHeight = 345; // pixels
    // The canvas frame's top left corner in the window, in twips: pixel 0, 0 of the screen.
    static constexpr int kCanvasLeft = 480;
    static constexpr int kCanvasTop = 120;

    explicit MainForm(QWidget* parent = nullptr);

    // The controls; the window owns them.
    CommandButton* BTNpos = nullptr;
    CommandButton* MoveO = nullptr;
    CommandButton* MoveW = nullptr;
    CommandButton* MoveS = nullptr;
    CommandButton* MoveN = nullptr;
    CommandButton* BTNLoad = nullptr;
    CommandButton* BTNSave = nullptr;
    CheckBox* ChkInfobar = nullptr;
    ComboBox* ComboAnsicht = nullptr;
    TextBox* txtCY = nullptr;
    TextBox* txtCX = nullptr;
    TextBox* txtY = nullptr;
    TextBox* txtX = nullptr;
    Label* Label4 = nullptr;
    Label* Label3 = nullptr;
    Label* Label2 = nullptr;
    Label* LBLiniName = nullptr;
    ShapeControl* Selector = nullptr;
    std::array<Label*, 4> Label1{}; // "X", "Y", "CX", "CY"
    ShapeControl* Shape1 = nullptr;
    ImageControl* Image1 = nullptr;

    // The picture of element i (0 to 24), that is the control "myImage" + (i + 1).
    ImageControl* elementPicture(int index) const;

    // Where the picture of element i (0 to 24) stands in a window just created, in twips
    // from the window's top left corner: left, top, width, height.
    struct Geometry {
        double left = 0, top = 0, width = 0, height = 0;
    };
    static Geometry initialPlacement(int index);

private:
    void createControls();
    void setTabOrder();

    // The element pictures by element index, as created (looked up often: by
    // name it would search the window's children each time).
    std::array<QPointer<ImageControl>, kElementCount> m_pictures{};
};

} // namespace ui
