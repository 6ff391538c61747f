#include "resources/mainform.h"

#include "resources/picturefile.h"

#include <QFont>
#include <QIcon>

namespace ui {

namespace {

QString picture(const QString& name) {
    return QStringLiteral(":/pictures/") + name;
}

QIcon iconFrom(const QString& stem, std::initializer_list<int> sizes = {16, 32}) {
    return readIcon(picture(stem), sizes);
}

QFont controlFont(bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11); // 8.25 pt at 96 dots per inch
    font.setBold(bold);
    return font;
}

// Windowless controls from back to front: the element pictures stack in this
// order (myImage25 foremost, myImage1 rearmost), behind the selection frame.
constexpr int kPictureStackBackToFront[] = {1,  2,  3,  11, 12, 5,  13, 4,  6,  7,  8,  9, 10,
                                            14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25};

struct PictureGeometry {
    int number;                   // n of "myImage" + n
    int left, top, width, height; // twips, as the window is created
};

constexpr PictureGeometry kPictures[] = {
    {25, 2400, 2160, 675, 495}, {24, 480, 2400, 675, 495},  {23, 480, 3000, 675, 495},
    {22, 480, 3600, 675, 495},  {21, 2040, 480, 1845, 690}, {20, 2040, 960, 1845, 690},
    {19, 1200, 2760, 885, 570}, {18, 1200, 4440, 765, 435}, {17, 1200, 1560, 885, 570},
    {16, 3240, 2040, 885, 570}, {15, 1200, 2160, 885, 570}, {14, 1200, 3360, 885, 570},
    {10, 1200, 3960, 855, 615}, {9, 480, 3480, 855, 975},   {8, 3240, 3480, 855, 975},
    {7, 1320, 3840, 1095, 615}, {6, 480, 2640, 855, 855},   {4, 1320, 3480, 2760, 360},
    {13, 2280, 4440, 885, 570}, {5, 480, 3480, 855, 975},   {12, 960, 1560, 885, 690},
    {11, 960, 4320, 885, 690},  {3, 480, 120, 3600, 360},   {2, 480, 3840, 3600, 600},
    {1, 1320, 2280, 525, 2010},
};

const PictureGeometry& pictureGeometry(int number) {
    for (const auto& p : kPictures)
        if (p.number == number)
            return p;
    return kPictures[0];
}

template <typename T>
T* make(QWidget* parent, const char* name, double left, double top, double width, double height) {
    auto* control = new T(parent); // owned by the window
    control->setObjectName(QString::fromLatin1(name));
    control->Move(left, top, width, height);
    return control;
}

} // namespace

MainForm::MainForm(QWidget* parent) : Form(parent) {
    setWindowTitle(QStringLiteral("Tessel"));
    setWindowIcon(iconFrom(QStringLiteral("tessel")));
    setFont(controlFont(false));
    resize(kClientWidth, kClientHeight);
    setKeyPreview(true);
    createControls();
    setTabOrder();
}

ImageControl* MainForm::elementPicture(int index) const {
    if (index < 0 || index >= kElementCount)
        return nullptr;
    return m_pictures[std::size_t(index)];
}

MainForm::Geometry MainForm::initialPlacement(int index) {
    const PictureGeometry& g = pictureGeometry(index + 1);
    return {double(g.left), double(g.top), double(g.width), double(g.height)};
}

void MainForm::createControls() {
    // Back to front: the map, the canvas frame, the pictures, the labels, the
    // selection frame, then the windowed controls in front of them all.
    Image1 = make<ImageControl>(this, "Image1", 480, 120, 3600, 4785);
    Image1->setPicture(readPicture(picture(QStringLiteral("Image1.bmp"))));

    Shape1 = make<ShapeControl>(this, "Shape1", kCanvasLeft, kCanvasTop, 3600, 4800);
    Shape1->setBorderWidth(1);

    int pictureCount = 0;
    auto addPicture = [this](int number) {
        const PictureGeometry& g = pictureGeometry(number);
        const QString name = QStringLiteral("myImage") + QString::number(number);
        auto* image =
            make<ImageControl>(this, name.toLatin1().constData(), g.left, g.top, g.width, g.height);
        const QString file = number == 20 ? QStringLiteral("myImage20.gif") : name + ".bmp";
        image->setPictureFile(picture(file)); // hidden until the first load
        m_pictures[std::size_t(number - 1)] = image;
    };
    // Rows from the back: myImage1, 2, 3, 11, 12, then the "X".."CY" labels sit
    // between myImage12 and myImage5.
    for (int number : kPictureStackBackToFront) {
        addPicture(number);
        ++pictureCount;
        if (number == 12) {
            const char* names[] = {"X", "Y", "CX", "CY"};
            const int left[] = {6840, 6840, 7920, 7920};
            const int top[] = {1080, 1560, 1080, 1560};
            const int width[] = {255, 255, 375, 375};
            for (int i = 0; i < 4; ++i) {
                const QByteArray name = "Label1(" + QByteArray::number(i) + ")";
                Label1[i] = make<Label>(this, name.constData(), left[i], top[i], width[i], 255);
                Label1[i]->setCaption(QString::fromLatin1(names[i]));
            }
        }
    }
    Q_ASSERT(pictureCount == kElementCount);

    Selector = make<ShapeControl>(this, "Selector", 480, 3480, 2415, 735);
    Selector->setBorderColor(QColor(0, 0, 255));
    Selector->setBorderWidth(3);
    Selector->setTag(QStringLiteral("-1"));

    LBLiniName = make<Label>(this, "LBLiniName", 5400, 480, 3495, 255);
    LBLiniName->setFont(controlFont(true));
    LBLiniName->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LBLiniName->setCaption(QStringLiteral("nothing selected"));
    Label2 = make<Label>(this, "Label2", 5400, 120, 3495, 255);
    Label2->setFont(controlFont(true));
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setCaption(QStringLiteral("aktives Element:"));
    Label3 = make<Label>(this, "Label3", 4320, 120, 855, 255);
    Label3->setCaption(QStringLiteral("Tessel v1.1"));
    Label4 = make<Label>(this, "Label4", 4320, 480, 975, 255);
    Label4->setCaption(QStringLiteral("Freeware"));

    txtX = make<TextBox>(this, "txtX", 7200, 960, 495, 375);
    txtY = make<TextBox>(this, "txtY", 7200, 1440, 495, 375);
    txtCX = make<TextBox>(this, "txtCX", 8400, 960, 495, 375);
    txtCY = make<TextBox>(this, "txtCY", 8400, 1440, 495, 375);

    ComboAnsicht = make<ComboBox>(this, "ComboAnsicht", 4680, 1440, 1695, 315);
    ComboAnsicht->addItems({QStringLiteral("Kartenansicht 1"), QStringLiteral("Kartenansicht 2"),
                            QStringLiteral("Kartenansicht 3")});
    ComboAnsicht->setText(QStringLiteral("Kartenansicht 1"));

    ChkInfobar = make<CheckBox>(this, "ChkInfobar", 4680, 960, 1935, 375);
    ChkInfobar->setText(QStringLiteral("Infobar eingeschaltet"));
    ChkInfobar->setValue(1);

    BTNSave = make<CommandButton>(this, "BTNSave", 6960, 4560, 1815, 495);
    BTNSave->setCaption(QStringLiteral("Speichern"));
    BTNLoad = make<CommandButton>(this, "BTNLoad", 6960, 3960, 1815, 495);
    BTNLoad->setCaption(QStringLiteral("Laden"));

    MoveN = make<CommandButton>(this, "MoveN", 7560, 2040, 615, 615);
    MoveS = make<CommandButton>(this, "MoveS", 7560, 3240, 615, 615);
    MoveW = make<CommandButton>(this, "MoveW", 6960, 2640, 615, 615);
    MoveO = make<CommandButton>(this, "MoveO", 8160, 2640, 615, 615);
    const std::pair<CommandButton*, const char*> arrows[] = {
        {MoveN, "arrow-n"}, {MoveS, "arrow-s"}, {MoveW, "arrow-w"}, {MoveO, "arrow-o"}};
    for (const auto& [button, stem] : arrows) {
        // The buttons show their arrows at 32 pixels only: the small pictures
        // would be read at start-up for nothing.
        button->setIcon(iconFrom(QString::fromLatin1(stem), {32}));
        button->setIconSize(QSize(32, 32));
    }
    BTNpos = make<CommandButton>(this, "BTNpos", 7560, 2640, 615, 615);
    BTNpos->setCaption(QStringLiteral("pos."));
}

void MainForm::setTabOrder() {
    QWidget* order[] = {txtX,    txtY,  txtCX, txtCY, ComboAnsicht, ChkInfobar, BTNSave,
                        BTNLoad, MoveN, MoveS, MoveW, MoveO,        BTNpos};
    for (QWidget* w : order)
        w->setFocusPolicy(Qt::StrongFocus);
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

} // namespace ui
