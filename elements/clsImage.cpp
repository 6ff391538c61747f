#include "elements/clsImage.h"

#include "elements/programstate.h"
#include "elements/typedvalue.h"
#include "resources/errors.h"
#include "resources/numbers.h"
#include "resources/screen.h"

#include <cmath>
#include <limits>

namespace {

constexpr int kTwips = ui::kTwipsPerPixel;

// Runs one step of a handler on its own: a step that fails is skipped.
template <typename F> void step(F&& f) {
    try {
        f();
    } catch (const ui::RuntimeError&) {
    }
}

template <typename T> T& bound(const QPointer<T>& control) {
    if (!control)
        throw ui::RuntimeError(ui::RuntimeError::ObjectNotSet, "Object variable not set");
    return *control;
}

// A position or size in twips that the element can hold. The element gives its
// geometry as 32-bit integers, and the save computes the layout keys from them:
// a value beyond their range is refused like a text that is no number.
double holdable(double twips) {
    static_cast<void>(ui::CLng(twips));
    return twips;
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

} // namespace

clsImage::~clsImage() {
    for (ui::TextBox* box : {mytxtX.data(), mytxtY.data(), mytxtCX.data(), mytxtCY.data()})
        if (box)
            box->KeyUp.unbind(this);
    if (myImage) {
        myImage->MouseDown.unbind(this);
        myImage->MouseMove.unbind(this);
        myImage->MouseUp.unbind(this);
    }
}

ui::ImageControl& clsImage::image() const {
    return bound(myImage);
}
ui::ShapeControl& clsImage::selector() const {
    return bound(mySelector);
}
ui::ShapeControl& clsImage::coSystem() const {
    return bound(myKoordinateSystem);
}

// --- binding -----------------------------------------------------------------

void clsImage::SetImage(ui::ImageControl* TImage) {
    if (myImage && myImage != TImage) {
        myImage->MouseDown.unbind(this);
        myImage->MouseMove.unbind(this);
        myImage->MouseUp.unbind(this);
    }
    myImage = TImage;
    if (!TImage)
        return;
    // Only the object of a picture receives the picture's mouse events.
    TImage->MouseDown.bindOnly(
        this, [this](int b, int s, float x, float y) { myImage_MouseDown(b, s, x, y); });
    TImage->MouseMove.bindOnly(
        this, [this](int b, int s, float x, float y) { myImage_MouseMove(b, s, x, y); });
    TImage->MouseUp.bindOnly(
        this, [this](int b, int s, float x, float y) { myImage_MouseUp(b, s, x, y); });
}

void clsImage::SetSelector(ui::ShapeControl* TSelector) {
    mySelector = TSelector;
    SyncSelector();
}

void clsImage::SetCoSystem(ui::ShapeControl* TTemplate) {
    myKoordinateSystem = TTemplate;
}

void clsImage::bindBox(QPointer<ui::TextBox>& member, ui::TextBox* box,
                       void (clsImage::*handler)(int, int)) {
    if (member && member != box)
        member->KeyUp.unbind(this);
    member = box;
    if (box)
        box->KeyUp.bind(this,
                        [this, handler](int key, int shift) { (this->*handler)(key, shift); });
}

void clsImage::SetX(ui::TextBox* TBox) {
    bindBox(mytxtX, TBox, &clsImage::mytxtX_KeyUp);
}
void clsImage::SetY(ui::TextBox* TBox) {
    bindBox(mytxtY, TBox, &clsImage::mytxtY_KeyUp);
}
void clsImage::SetCX(ui::TextBox* TBox) {
    bindBox(mytxtCX, TBox, &clsImage::mytxtCX_KeyUp);
}
void clsImage::SetCY(ui::TextBox* TBox) {
    bindBox(mytxtCY, TBox, &clsImage::mytxtCY_KeyUp);
}

void clsImage::SetNameLabel(ui::Label* TLabel) {
    myNameLabel = TLabel;
}

void clsImage::SetName(const QString& iniName) {
    strName = iniName;
}

// --- geometry ----------------------------------------------------------------

void clsImage::setTop(std::int32_t lngTop) {
    image().setTop(lngTop);
}
void clsImage::setLeft(std::int32_t lngLeft) {
    image().setLeft(lngLeft);
}
void clsImage::setWidth(std::int32_t lngWidth) {
    image().setWidth(lngWidth);
}
void clsImage::setHeight(std::int32_t lngHeight) {
    image().setHeight(lngHeight);
}
void clsImage::setVisible(bool bvisible) {
    image().setVisibleProp(bvisible);
}
bool clsImage::visible() const {
    return image().Visible();
}

void clsImage::setIndex(std::int16_t intNumber) {
    intIndex = intNumber;
    SyncSelector();
}

std::int32_t clsImage::Top() const {
    return ui::CLng(image().Top());
}
std::int32_t clsImage::Left() const {
    return ui::CLng(image().Left());
}
std::int32_t clsImage::width() const {
    return ui::CLng(image().Width());
}
std::int32_t clsImage::height() const {
    return ui::CLng(image().Height());
}

std::int32_t clsImage::shift() const {
    // |bDependent| x (lngInfoBarHeight - 2), in 32-bit integer arithmetic.
    const std::int64_t s = (bDependent ? 1 : 0) * (std::int64_t(lngInfoBarHeight) - 2);
    if (s < std::numeric_limits<std::int32_t>::min() ||
        s > std::numeric_limits<std::int32_t>::max())
        throw ui::RuntimeError(ui::RuntimeError::Overflow, "Overflow");
    return std::int32_t(s);
}

bool clsImage::isActiveElement() const {
    try {
        return ui::CDbl(selector().Tag()) == double(intIndex);
    } catch (const ui::RuntimeError&) {
        return false; // a tag that is no number names no element
    }
}

// --- the selection frame and the boxes ---------------------------------------

void clsImage::SyncSelector(const ui::TextBox* kept) {
    ui::ImageControl& picture = image();
    selector().Move(picture.Left(), picture.Top(), picture.Width(), picture.Height());
    bound(myNameLabel).setCaption(strName);
    ShowCoordinates(kept);
}

void clsImage::ShowCoordinates(const ui::TextBox* kept) {
    const ui::ShapeControl& frame = selector();
    const ui::ShapeControl& canvas = coSystem();
    const auto show = [kept](QPointer<ui::TextBox>& box, float value) {
        if (box && box != kept) {
            box->setText(ui::StrSingle(value));
            typedvalue::mark(*box, {}); // it shows the element's value now
        }
    };
    const float k = float(kTwips);
    show(mytxtX, (float(frame.Left()) - float(canvas.Left())) / k);
    show(mytxtY, (float(frame.Top()) - float(canvas.Top())) / k);
    show(mytxtCX, float(frame.Width()) / k);
    show(mytxtCY, float(frame.Height()) / k);
}

std::array<QString, 4> clsImage::coordinateTexts() const {
    // The frame sits exactly on the picture once selected: the picture's own
    // geometry gives what the boxes would show.
    const ui::ImageControl& picture = image();
    const ui::ShapeControl& canvas = coSystem();
    const float k = float(kTwips);
    return {ui::StrSingle((float(picture.Left()) - float(canvas.Left())) / k),
            ui::StrSingle((float(picture.Top()) - float(canvas.Top())) / k),
            ui::StrSingle(float(picture.Width()) / k), ui::StrSingle(float(picture.Height()) / k)};
}

void clsImage::Select() {
    selector().setTag(QString::number(intIndex));
    SyncSelector();
}

void clsImage::notify(EditNotice::Source source, EditNotice::Stage stage,
                      const ui::TextBox* box) const {
    programState().notifyEdit({source, stage, intIndex, box});
}

// --- applying the boxes ------------------------------------------------------

bool clsImage::applyBoxes(Apply how, const ui::TextBox* typed) {
    ui::ImageControl& picture = image();
    const double left = picture.Left();
    const double top = picture.Top();
    const double width = picture.Width();
    const double height = picture.Height();

    // While editing, a box that shows the element as it stands is left alone: its text is
    // the element's value rounded for showing, and taking it would move the element. So is
    // one whose text was not taken when it was typed.
    std::array<QString, 4> shown;
    if (how != Apply::Load)
        step([&] { shown = coordinateTexts(); });
    using Setter = void (ui::TwipsGeometry::*)(double);
    const auto apply = [&](const QPointer<ui::TextBox>& member, std::size_t k, Setter set) {
        step([&] {
            ui::TextBox& box = bound(member);
            const bool isSize = k >= 2;
            const double origin = isSize ? 0.0 : k == 0 ? coSystem().Left() : coSystem().Top();
            if (&box == typed) {
                const typedvalue::Outcome outcome = typedvalue::take(box.Text(), origin, isSize);
                typedvalue::mark(box, outcome.reason);
                if (outcome.twips)
                    (picture.*set)(*outcome.twips);
                return;
            }
            if (how != Apply::Load &&
                (box.Text() == shown[k] || box.property(typedvalue::kNotTaken).isValid()))
                return;
            const double less = k == 1 && how == Apply::Load ? double(shift()) : 0.0;
            (picture.*set)(holdable((ui::CDbl(box.Text()) - less) * kTwips + origin));
        });
    };
    apply(mytxtX, 0, &ui::TwipsGeometry::setLeft);
    apply(mytxtY, 1, &ui::TwipsGeometry::setTop);
    apply(mytxtCX, 2, &ui::TwipsGeometry::setWidth);
    apply(mytxtCY, 3, &ui::TwipsGeometry::setHeight);

    return picture.Left() != left || picture.Top() != top || picture.Width() != width ||
           picture.Height() != height;
}

void clsImage::paintImage() {
    if (!myImage || !isActiveElement())
        return;
    applyBoxes(Apply::Load);
    step([&] { SyncSelector(); });
}

void clsImage::stretchImage() {
    if (!myImage || !isActiveElement())
        return;
    applyBoxes(Apply::Nudge);
    step([&] { SyncSelector(); });
    programState().bChanged = true;
}

void clsImage::boxKeyUp(const ui::TextBox* box) {
    // Every element receives the key releases of the shared boxes; only the
    // active one reacts. The boxes hold canvas values, so the Y box is taken
    // without the info-bar shift. The box being typed in keeps the user's text,
    // also when the element does not take it.
    if (!myImage || !isActiveElement())
        return;
    notify(EditNotice::Source::Box, EditNotice::Stage::Begin, box);
    const bool changed = applyBoxes(Apply::Typing, box);
    step([&] { SyncSelector(box); });
    if (changed)
        programState().bChanged = true;
    notify(EditNotice::Source::Box, EditNotice::Stage::End, box);
}

void clsImage::mytxtX_KeyUp(int, int) {
    boxKeyUp(mytxtX);
}
void clsImage::mytxtY_KeyUp(int, int) {
    boxKeyUp(mytxtY);
}
void clsImage::mytxtCX_KeyUp(int, int) {
    boxKeyUp(mytxtCX);
}
void clsImage::mytxtCY_KeyUp(int, int) {
    boxKeyUp(mytxtCY);
}

// --- the mouse ---------------------------------------------------------------

void clsImage::myImage_MouseDown(int, int, float X, float Y) {
    notify(EditNotice::Source::Pointer, EditNotice::Stage::Begin);
    bSkipMove = true;
    step([&] { lngGrabX = ui::CLng(X); });
    step([&] { lngGrabY = ui::CLng(Y); });
    bActive = true;
    step([&] { selector().setTag(QString::number(intIndex)); });
    step([&] {
        const double W = image().Width();
        const double H = image().Height();
        const double bw = ui::CInt(double(selector().BorderWidth()) * kTwips);
        if (X <= bw)
            bLeftEdge = true;
        if (W - bw <= X && X <= W)
            bRightEdge = true;
        if (Y <= bw)
            bTopEdge = true;
        if (H - bw <= Y && Y <= H)
            bBottomEdge = true;
    });
    if (!bLeftEdge && !bRightEdge && !bTopEdge && !bBottomEdge)
        bMove = true;
    step([&] { SyncSelector(); });
}

void clsImage::myImage_MouseMove(int Button, int Shift, float X, float Y) {
    // The sizing arrows follow the pointer itself; a drag step may be adjusted.
    const float pointerX = X;
    const float pointerY = Y;
    if (!bSkipMove) {
        if (Button == 1 && (bMove || bLeftEdge || bRightEdge || bTopEdge || bBottomEdge))
            step([&] { offerDragStep(Shift, X, Y); });
        if (isActiveElement()) {
            step([&] {
                const double W = selector().Width();
                const double H = selector().Height();
                const double bw = ui::CInt(double(selector().BorderWidth()) * kTwips);
                const bool left = pointerX <= bw;
                const bool right = pointerX >= W - bw;
                const bool top = pointerY <= bw;
                const bool bottom = pointerY >= H - bw;
                int shape = 0;
                if ((top && left) || (bottom && right))
                    shape = 8;
                else if ((top && right) || (bottom && left))
                    shape = 6;
                else if (top || bottom)
                    shape = 7;
                else if (left || right)
                    shape = 9;
                ui::Screen::setMousePointer(shape);
            });
            if (Button == 1) {
                // Each edge step is applied whole or not at all: a step that
                // would make a size negative leaves the element as it was.
                if (bLeftEdge)
                    step([&] {
                        ui::ImageControl& picture = image();
                        const double w = picture.Width() - X;
                        if (w < 0)
                            return;
                        const double l = picture.Left() + X;
                        picture.setWidth(w);
                        picture.setLeft(l);
                        programState().bChanged = true;
                        SyncSelector();
                    });
                if (bRightEdge)
                    step([&] {
                        if (X < 0)
                            return;
                        image().setWidth(X);
                        programState().bChanged = true;
                        SyncSelector();
                    });
                if (bTopEdge)
                    step([&] {
                        ui::ImageControl& picture = image();
                        const double h = picture.Height() - Y;
                        if (h < 0)
                            return;
                        const double t = picture.Top() + Y;
                        picture.setHeight(h);
                        picture.setTop(t);
                        programState().bChanged = true;
                        SyncSelector();
                    });
                if (bBottomEdge)
                    step([&] {
                        if (Y < 0)
                            return;
                        image().setHeight(Y);
                        programState().bChanged = true;
                        SyncSelector();
                    });
            }
        } else {
            ui::Screen::setMousePointer(0);
        }
        if (bMove && Button == 1) {
            step([&] {
                ui::ImageControl& picture = image();
                picture.setLeft(picture.Left() + X - lngGrabX);
                picture.setTop(picture.Top() + Y - lngGrabY);
            });
            programState().bChanged = true;
            step([&] { SyncSelector(); });
        }
        step([&] { AlignLinkedElement(); });
    }
    bSkipMove = false;
}

void clsImage::myImage_MouseUp(int, int, float, float) {
    bMove = false;
    bActive = false;
    bTopEdge = false;
    bBottomEdge = false;
    bLeftEdge = false;
    bRightEdge = false;
    notify(EditNotice::Source::Pointer, EditNotice::Stage::End);
}

void clsImage::offerDragStep(int Shift, float& X, float& Y) const {
    DragStep proposal{intIndex,        bMove, bLeftEdge, bRightEdge, bTopEdge,
                      bBottomEdge,     Shift, double(X), double(Y),  double(lngGrabX),
                      double(lngGrabY)};
    programState().adjustDrag(proposal);
    X = float(proposal.x);
    Y = float(proposal.y);
}

void clsImage::pullLinkedElement() {
    AlignLinkedElement();
}

void clsImage::AlignLinkedElement() {
    int partner = -1;
    if (intIndex == 3)
        partner = 20 - sign(programState().CurrentView);
    else if (intIndex == 19 || intIndex == 20)
        partner = 3;
    if (partner < 0)
        return;
    const std::int32_t left = ui::CLng(image().Left());
    elementAt(partner).setLeft(left);
}
