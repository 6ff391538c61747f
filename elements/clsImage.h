// One screen element of the layout: binds the element to its picture and to the
// shared controls (canvas frame, selection frame, name label, coordinate boxes),
// maps layout pixels onto the canvas and back, and handles selecting, dragging
// and resizing with the mouse. The picture's own geometry is the element's.
#pragma once

#include "elements/editnotice.h"
#include "resources/imagecontrol.h"
#include "resources/shapecontrol.h"
#include "resources/simplecontrols.h"

#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>

class clsImage {
public:
    clsImage() = default;
    ~clsImage();
    clsImage(const clsImage&) = delete;
    clsImage& operator=(const clsImage&) = delete;

    void SetImage(ui::ImageControl* TImage);
    void SetSelector(ui::ShapeControl* TSelector);
    void SetCoSystem(ui::ShapeControl* TTemplate);
    void SetX(ui::TextBox* TBox);
    void SetNameLabel(ui::Label* TLabel);
    void SetName(const QString& iniName);
    void SetY(ui::TextBox* TBox);
    void SetCX(ui::TextBox* TBox);
    void SetCY(ui::TextBox* TBox);
    void setTop(std::int32_t lngTop);
    void setLeft(std::int32_t lngLeft);
    void setWidth(std::int32_t lngWidth);
    void setHeight(std::int32_t lngHeight);
    void setVisible(bool bvisible);
    bool visible() const;
    void setIndex(std::int16_t intNumber);
    std::int16_t Index() const { return intIndex; }
    void SetDepend(bool bDepend) { bDependent = bDepend; }
    void SetInfoBarHeight(std::int32_t lngHeight) { lngInfoBarHeight = lngHeight; }
    std::int32_t InfoBarHeight() const { return lngInfoBarHeight; }
    bool Depend() const { return bDependent; }
    std::int32_t Top() const;
    std::int32_t Left() const;
    std::int32_t width() const;
    std::int32_t height() const;
    bool isActive() const { return bActive; }
    // Load apply: the Y box is a layout-file value, less the info-bar shift.
    void paintImage();
    // Edit apply: the Y box is a canvas value; marks the layout as changed.
    void stretchImage();
    // Makes this element the active one, as a press on it does, without moving
    // it: the selection frame, the name label and the boxes follow.
    void Select();
    // x, y, cx and cy as the coordinate boxes show them.
    std::array<QString, 4> coordinateTexts() const;
    // Puts the linked partner ("from" and its dummy) to this element's left edge,
    // as a move of this element by the mouse does.
    void pullLinkedElement();

private:
    void mytxtX_KeyUp(int KeyCode, int Shift);
    void mytxtY_KeyUp(int KeyCode, int Shift);
    void mytxtCX_KeyUp(int KeyCode, int Shift);
    void mytxtCY_KeyUp(int KeyCode, int Shift);
    void myImage_MouseDown(int Button, int Shift, float X, float Y);
    void myImage_MouseMove(int Button, int Shift, float X, float Y);
    void myImage_MouseUp(int Button, int Shift, float X, float Y);
    // Moves the selection frame onto the picture, shows the name and the
    // coordinates. A box given as kept keeps the user's text.
    void SyncSelector(const ui::TextBox* kept = nullptr);
    void ShowCoordinates(const ui::TextBox* kept = nullptr);
    void AlignLinkedElement();
    // Lets the owner adjust the pointer position of a drag step before it is applied.
    void offerDragStep(int Shift, float& X, float& Y) const;

    // Applies the four boxes to the picture, each coordinate on its own; returns
    // whether the picture's geometry changed. A load takes the Y box as a file value
    // (less the info-bar shift); edits leave alone the boxes that show the element as it
    // stands, and the box typed in is taken only when the element holds its value exactly.
    enum class Apply { Load, Nudge, Typing };
    bool applyBoxes(Apply how, const ui::TextBox* typed = nullptr);
    void boxKeyUp(const ui::TextBox* box);
    void notify(EditNotice::Source source, EditNotice::Stage stage,
                const ui::TextBox* box = nullptr) const;
    void bindBox(QPointer<ui::TextBox>& member, ui::TextBox* box,
                 void (clsImage::*handler)(int, int));
    bool isActiveElement() const; // the selection frame's tag names this element
    std::int32_t shift() const;   // info-bar shift in pixels
    ui::ImageControl& image() const;
    ui::ShapeControl& selector() const;
    ui::ShapeControl& coSystem() const;

    QPointer<ui::ShapeControl> myKoordinateSystem;
    QPointer<ui::TextBox> mytxtX;
    QPointer<ui::TextBox> mytxtY;
    QPointer<ui::TextBox> mytxtCX;
    QPointer<ui::TextBox> mytxtCY;
    QPointer<ui::ImageControl> myImage;
    QPointer<ui::ShapeControl> mySelector;
    QPointer<ui::Label> myNameLabel;
    QString strName;
    std::int16_t intIndex = 0;
    bool bDependent = false;
    std::int32_t lngInfoBarHeight = 0;
    bool bActive = false;
    bool bMove = false;
    bool bLeftEdge = false;
    bool bRightEdge = false;
    bool bTopEdge = false;
    bool bBottomEdge = false;
    std::int32_t lngGrabX = 0;
    std::int32_t lngGrabY = 0;
    bool bSkipMove = false;
};
