#include "app/Form1.h"

#include "app/ProfileFile.h"
#include "core/GameError.h"
#include "core/ProfileFolder.h"
#include "core/Random.h"
#include "model/PlayRules.h"
#include "view/ImageCatalogue.h"
#include "view/PictureFiles.h"
#include "view/Projection.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <exception>
#include <malloc.h>
#include <future>

namespace {

const QColor Yellow(0xFF, 0xFF, 0x00);
const QColor Grey(0x80, 0x80, 0x80);
const QColor DarkRed(0xC1, 0x00, 0x00);
const QColor ShopText(0xFF, 0x80, 0x80);

const char* const ModeCaptions[7] = {
    nullptr,
    "* Championship (40 levels) - normal",
    "* Championship (40 levels) - advanced",
    "* Free Level - easy",
    "* Free Level - normal",
    "* Free Level - advanced",
    "* Free Level - maniac",
};

constexpr int HeaderSlotLefts[8] = {268, 296, 324, 352, 380, 432, 460, 488};

// One item of the shop page: its three text lines, its button and its picture.
struct ShopPlace {
    ShopItem Item;
    int Left, Top;   // the first text line
    int FirstLabel;  // LabelN of the name line
    int Button;      // ColorButtonN
    int ButtonLeft, ButtonTop;
    int Picture;     // JPEGImageN
    int PictureLeft, PictureTop;
    Artwork Art;
};

const ShopPlace ShopPlaces[ShopItemCount] = {
    {ShopItem::PreviewEmpty, 156, 124, 23, 1, 276, 148, 11, 116, 116, Artwork::ShopPreviewEmpty},
    {ShopItem::AutoPreviewEmpty, 156, 196, 26, 2, 276, 220, 12, 116, 188, Artwork::ShopAutoPreviewEmpty},
    {ShopItem::PreviewOccupied, 156, 268, 29, 3, 276, 292, 13, 116, 260, Artwork::ShopPreviewOccupied},
    {ShopItem::AutoPreviewOccupied, 156, 340, 32, 4, 276, 364, 14, 116, 332, Artwork::ShopAutoPreviewOccupied},
    {ShopItem::Undo, 496, 124, 11, 5, 616, 148, 15, 460, 116, Artwork::ShopUndo},
    {ShopItem::BronzeMedal, 496, 196, 14, 6, 616, 216, 18, 460, 188, Artwork::ShopBronzeMedal},
    {ShopItem::SilverMedal, 496, 268, 17, 7, 616, 288, 16, 460, 260, Artwork::ShopSilverMedal},
    {ShopItem::GoldMedal, 496, 340, 20, 8, 616, 360, 17, 460, 332, Artwork::ShopGoldMedal},
};

Picture BuiltInPicture(Artwork which)
{
    const EmbeddedBytes bytes = BuiltInArtwork(which);
    return DecodeJpeg(bytes.Data, bytes.Size);
}

void SetTextColour(QWidget* widget, const QColor& colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, colour);
    widget->setPalette(pal);
}

QLabel* MakeLabel(const QString& text, const QFont& font, const QColor& colour, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    SetTextColour(label, colour);
    return label;
}

// A label that sizes itself to its text from a fixed top-left corner.
void SetAutoSizedText(QLabel* label, const std::string& text)
{
    label->setText(QString::fromStdString(text));
    label->adjustSize();
}

QWidget* MakePage(const char* name, QStackedWidget* pages)
{
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    page->setAutoFillBackground(true);
    pages->addWidget(page);
    return page;
}

EffectStyle TitleStyle(int pixelHeight)
{
    EffectStyle style;
    style.Font = ArialFont(pixelHeight, true, true);
    style.Face = QColor(0xFF, 0x00, 0x00);
    style.Outline = QColor(0xFF, 0xD6, 0xC1);
    style.Near = QColor(0x8A, 0x00, 0x00);
    style.Far = QColor(0xFF, 0x64, 0x64);
    return style;
}

// The window's key preview: a filter on the application sees a key release once
// for every widget it propagates through, so only the first receiver counts — the
// window's focus widget, or the window itself when nothing in it has the focus.
class KeyPreviewFilter : public QObject {
public:
    explicit KeyPreviewFilter(TForm1& form) : QObject(&form), Form(form) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyRelease)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat())
            return false;
        auto* target = qobject_cast<QWidget*>(watched);
        if (target == nullptr || target->window() != &Form)
            return false;
        QWidget* focus = Form.focusWidget();
        if (target != (focus != nullptr ? focus : &Form))
            return false;
        Form.FormKeyUp(VirtualKeyOf(key->key()));
        return false;
    }

private:
    TForm1& Form;
};

} // namespace

int VirtualKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Delete: return 46;
    default: break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey; // Qt uses the same codes for these
    return 0;
}

TForm1::TForm1(Dialogs& dialogs, std::string programFolder, QWidget* parent)
    : QWidget(parent),
      Boxes(dialogs),
      FolderOfProgram(std::move(programFolder)),
      PlayView(768, 480, Rgb(0, 0, 0)),
      PreviewBox(74, 48, Rgb(0xC1, 0xC1, 0xC1)),
      Scene(PlayView, PreviewBox, GameBoard, BuiltInCatalogue(), FolderOfProgram)
{
    // A deal replaces megabyte picture buffers (the background, its opaque copy,
    // the decoded file). Served by mmap, they go back to the system when freed;
    // from the heap they would fragment it and the resident size would creep up
    // deal after deal, since glibc raises its mmap threshold after such frees.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    // The built-in JPEGs cost most of the start-up (the two-pass colour
    // quantisation has a large fixed cost even for the small shop pictures), so
    // they are decoded on other cores while the header is built and the fonts load.
    std::future<Picture> pageBackground = std::async(std::launch::async, [] { return BuiltInPicture(Artwork::PageBackground); });
    std::future<std::vector<Picture>> shopPictures = std::async(std::launch::async, [] {
        std::vector<Picture> pictures;
        for (const ShopPlace& place : ShopPlaces)
            pictures.push_back(BuiltInPicture(place.Art));
        return pictures;
    });
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral(" Vroomzle"));
    setFont(ArialFont(12));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    {
        const EmbeddedBytes icon = BuiltInArtwork(Artwork::Icon);
        QPixmap pixmap;
        if (pixmap.loadFromData(icon.Data, static_cast<uint>(icon.Size)))
            setWindowIcon(QIcon(pixmap));
    }

    BuildHeader();
    PageControl1 = new QWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    Pages = new QStackedWidget(PageControl1);
    Pages->setObjectName(QStringLiteral("Pages"));
    TabSheet1 = MakePage("TabSheet1", Pages);
    TabSheet2 = MakePage("TabSheet2", Pages);
    TabSheet3 = MakePage("TabSheet3", Pages);
    const Picture page = pageBackground.get();
    BuildMenuPage(page);
    BuildGamePage();
    BuildStagesPage(shopPictures.get());

    PlayView.SetRepaintCallback([this] { Image321->update(); });
    PreviewBox.SetRepaintCallback([this] { Image322->update(); });
    Scene.SetCarsLeftSink([this](int32_t carsLeft) { ShowCarsLeftLabel(carsLeft); });
    Scene.SetBackgroundErrorSink([this](const std::string& message) { PendingErrors.push_back(message); });

    KeyPreview = new KeyPreviewFilter(*this);
    qApp->installEventFilter(KeyPreview);

    resize(ClientWidth, ClientHeight);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - QPoint(ClientWidth / 2, ClientHeight / 2));
    LayOutClient();
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(KeyPreview);
}

void TForm1::BuildHeader()
{
    Panel1 = new BevelPanel(DarkRed, this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    VrGradient1 = new GradientPanel(qRgb(0xC1, 0x00, 0x00), qRgb(0xFF, 0x6A, 0x6F), Panel1);
    VrGradient1->setObjectName(QStringLiteral("VrGradient1"));

    fcLabel1 = new EffectLabel(QStringLiteral("Vroomzle 1.00"), TitleStyle(27), Panel1);
    fcLabel1->setObjectName(QStringLiteral("fcLabel1"));
    fcLabel1->setGeometry(5, 0, 246, 44);

    const Picture placeholder = BuiltInPicture(Artwork::HeaderPlaceholder);
    for (int i = 0; i < 8; ++i) {
        auto* slot = new PictureBox(Panel1);
        slot->setObjectName(QStringLiteral("JPEGImage%1").arg(i + 2));
        slot->setGeometry(HeaderSlotLefts[i], 4, 25, 64);
        slot->SetPicture(placeholder, "header placeholder");
        JPEGImage[static_cast<size_t>(i + 2)] = slot;
    }

    Image322 = new LayeredImage(PreviewBox, QColor(0xA0, 0xA0, 0xA0), Panel1);
    Image322->setObjectName(QStringLiteral("Image322"));
    Image322->setGeometry(536, 12, 74, 48);
    Image322->setAttribute(Qt::WA_TransparentForMouseEvents);

    Label1 = new CounterLabel(QStringLiteral("0 cars left"), ArialFont(16, true), Panel1);
    SetTextColour(Label1, Qt::white);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(672, 4);
    PrepareCarsLeftLabel();
    Label10 = MakeLabel(QStringLiteral("$0"), ArialFont(16, true), Qt::white, Panel1);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setAlignment(Qt::AlignCenter);
    Label10->move(704, 20);
    Label10->adjustSize();

    B_MENU = new ShapeButton(QStringLiteral("MENU"), Panel1);
    B_MENU->setObjectName(QStringLiteral("B_MENU"));
    B_MENU->setGeometry(4, 40, 117, 31);
    B_GAME = new ShapeButton(QStringLiteral("GAME"), Panel1);
    B_GAME->setObjectName(QStringLiteral("B_GAME"));
    B_GAME->setGeometry(124, 40, 117, 31);
    B_STAGES = new ShapeButton(QStringLiteral("SHOP"), Panel1);
    B_STAGES->setObjectName(QStringLiteral("B_STAGES"));
    B_STAGES->setGeometry(652, 40, 133, 31);
    connect(B_MENU, &QAbstractButton::clicked, this, [this] { B_MENUClick(); });
    connect(B_GAME, &QAbstractButton::clicked, this, [this] { B_GAMEClick(); });
    connect(B_STAGES, &QAbstractButton::clicked, this, [this] { B_STAGESClick(); });
}

void TForm1::BuildMenuPage(const Picture& page)
{
    auto* background = new PictureBox(TabSheet1);
    background->setObjectName(QStringLiteral("JPEGImage1"));
    background->SetPicture(page, "page background");
    background->setGeometry(8, 0, page.Width, page.Height);
    JPEGImage[1] = background;

    Label8 = MakeLabel(QStringLiteral("Vroomzle 1.00 by the Vroomzle team, 2026"), ArialFont(16), DarkRed, TabSheet1);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setGeometry(240, 444, 327, 18);
    Label8->setAlignment(Qt::AlignCenter);
    Label9 = MakeLabel(QStringLiteral("Tell us what you think on our forum"), ArialFont(11), DarkRed, TabSheet1);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label9->setGeometry(276, 464, 256, 14);
    Label9->setAlignment(Qt::AlignCenter);

    Shape1 = new FrameShape(DarkRed, TabSheet1);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(172, 48, 461, 373);
    Shape2 = new FrameShape(Grey, TabSheet1);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setGeometry(208, 212, 389, 201);

    for (int mode = 1; mode <= 6; ++mode) {
        auto* label = new ClickLabel(QString::fromLatin1(ModeCaptions[mode]), TabSheet1);
        label->setObjectName(QStringLiteral("Label%1").arg(mode + 1));
        label->setFont(ArialFont(19));
        SetTextColour(label, mode == 1 ? Yellow : Grey);
        label->move(216, 60 + 24 * (mode - 1));
        label->adjustSize();
        ModeLabel[static_cast<size_t>(mode)] = label;
    }
    ModeLabel[1]->OnClick = [this] { Label2Click(); };
    ModeLabel[2]->OnClick = [this] { Label3Click(); };
    ModeLabel[3]->OnClick = [this] { Label4Click(); };
    ModeLabel[4]->OnClick = [this] { Label5Click(); };
    ModeLabel[5]->OnClick = [this] { Label6Click(); };
    ModeLabel[6]->OnClick = [this] { Label7Click(); };

    SpinEdit2 = new SpinEdit(TabSheet1);
    SpinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
    SpinEdit2->setGeometry(548, 60, 41, 24);
    SpinEdit3 = new SpinEdit(TabSheet1);
    SpinEdit3->setObjectName(QStringLiteral("SpinEdit3"));
    SpinEdit3->setGeometry(548, 84, 41, 24);
    setTabOrder(SpinEdit2, SpinEdit3);

    SpeedButton1 = new SpeedButton(QStringLiteral("START"), ArialFont(27, true), TabSheet1);
    SpeedButton2 = new SpeedButton(QStringLiteral("Load Profile"), ArialFont(16), TabSheet1);
    SpeedButton3 = new SpeedButton(QStringLiteral("Save Profile"), ArialFont(16), TabSheet1);
    SpeedButton4 = new SpeedButton(QStringLiteral("SAVE && EXIT"), ArialFont(21), TabSheet1);
    SpeedButton* buttons[4] = {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4};
    for (int i = 0; i < 4; ++i) {
        buttons[i]->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
        buttons[i]->setGeometry(216, 220 + 48 * i, 373, 41);
    }
    connect(SpeedButton1, &QAbstractButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QAbstractButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(SpeedButton3, &QAbstractButton::clicked, this, [this] { SpeedButton3Click(); });
    connect(SpeedButton4, &QAbstractButton::clicked, this, [this] { SpeedButton4Click(); });
}

void TForm1::BuildGamePage()
{
    Panel2 = new BevelPanel(Qt::black, TabSheet2);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Image321 = new LayeredImage(PlayView, Qt::black, Panel2);
    Image321->setObjectName(QStringLiteral("Image321"));
    Image321->setGeometry(8, 3, 768, 480);
    Image321->OnMouseUp = [this](int x, int y) { Image321MouseUp(x, y); };
    Image321->OnMouseMove = [this](int x, int y) { Image321MouseMove(x, y); };
}

void TForm1::BuildStagesPage(const std::vector<Picture>& shopPictures)
{
    auto* background = new PictureBox(TabSheet3);
    background->setObjectName(QStringLiteral("JPEGImage10"));
    background->SetImage(JPEGImage[1]->Image(), "page background");
    background->setGeometry(8, 0, 769, 481);
    JPEGImage[10] = background;

    fcLabel2 = new EffectLabel(QStringLiteral("SHOP"), TitleStyle(53), TabSheet3);
    fcLabel2->setObjectName(QStringLiteral("fcLabel2"));
    fcLabel2->setGeometry(301, 20, 161, 72);

    for (size_t n = 0; n < std::size(ShopPlaces); ++n) {
        const ShopPlace& place = ShopPlaces[n];
        const ShopItemInfo& info = ItemInfo(place.Item);
        auto* picture = new PictureBox(TabSheet3);
        picture->setObjectName(QStringLiteral("JPEGImage%1").arg(place.Picture));
        picture->SetPicture(shopPictures[n], info.Name);
        picture->setGeometry(place.PictureLeft, place.PictureTop, 25, 64);
        JPEGImage[static_cast<size_t>(place.Picture)] = picture;

        const QString lines[3] = {QString::fromLatin1(info.Name), QString::fromLatin1(info.Use),
                                  QString::fromStdString(MoneyText(info.Price))};
        const QFont fonts[3] = {ArialFont(12, true), ArialFont(12), ArialFont(16, true)};
        for (int line = 0; line < 3; ++line) {
            QLabel* label = MakeLabel(lines[line], fonts[line], ShopText, TabSheet3);
            label->setObjectName(QStringLiteral("Label%1").arg(place.FirstLabel + line));
            label->move(place.Left, place.Top + 16 * line);
            label->adjustSize();
            ShopLabel[static_cast<size_t>(place.FirstLabel + line)] = label;
        }
    }
    // Created in number order, so the focus moves from 1 to 8.
    for (int n = 1; n <= 8; ++n) {
        const ShopPlace* place = nullptr;
        for (const ShopPlace& p : ShopPlaces)
            if (p.Button == n)
                place = &p;
        auto* button = new ColorButton(ShopText, TabSheet3);
        button->setObjectName(QStringLiteral("ColorButton%1").arg(n));
        button->setText(QStringLiteral("BUY"));
        button->setGeometry(place->ButtonLeft, place->ButtonTop, 75, 25);
        ColorButtonN[static_cast<size_t>(n)] = button;
        if (n > 1)
            setTabOrder(ColorButtonN[static_cast<size_t>(n - 1)], button);
    }
    connect(ColorButtonN[1], &QAbstractButton::clicked, this, [this] { ColorButton1Click(); });
    connect(ColorButtonN[2], &QAbstractButton::clicked, this, [this] { ColorButton2Click(); });
    connect(ColorButtonN[3], &QAbstractButton::clicked, this, [this] { ColorButton3Click(); });
    connect(ColorButtonN[4], &QAbstractButton::clicked, this, [this] { ColorButton4Click(); });
    connect(ColorButtonN[5], &QAbstractButton::clicked, this, [this] { ColorButton5Click(); });
    connect(ColorButtonN[6], &QAbstractButton::clicked, this, [this] { ColorButton6Click(); });
    connect(ColorButtonN[7], &QAbstractButton::clicked, this, [this] { ColorButton7Click(); });
    connect(ColorButtonN[8], &QAbstractButton::clicked, this, [this] { ColorButton8Click(); });
}

// The page control keeps its height at the bottom; the header takes the rest.
// The pages sit inside it as a tab control with a hidden tab row places them.
void TForm1::LayOutClient()
{
    const int w = width();
    const int headerHeight = std::max(0, height() - PageControlHeight);
    Panel1->setGeometry(0, 0, w, headerHeight);
    VrGradient1->setGeometry(1, 1, std::max(0, w - 2), std::max(0, headerHeight - 2));
    PageControl1->setGeometry(0, headerHeight, w, PageControlHeight);
    Pages->setGeometry(4, 14, std::max(0, w - 8), PageControlHeight - 18);
    Panel2->setGeometry(0, 0, Pages->width(), Pages->height());
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutClient();
}

void TForm1::PrepareCarsLeftLabel()
{
    // Room for every count a board can hold, so the lists never move.
    constexpr size_t MostCars = GridColumns * GridRows * SlotCount;
    CarsLeftTexts.reserve(MostCars + 1);
    CarsLeftSizes.reserve(MostCars + 1);
    ShowCarsLeftLabel(0);
}

void TForm1::ShowCarsLeftLabel(int32_t carsLeft)
{
    // The texts and auto sizes are made up to the largest count seen. A deal
    // shows its board's largest count first and play only goes below it, so
    // taking a pair off or undoing it allocates nothing.
    if (carsLeft < 0 || size_t(carsLeft) >= CarsLeftTexts.capacity()) {
        const QString text = QString::fromStdString(CarsLeftText(carsLeft));
        Label1->SetText(text, Label1->MeasuredSize(text));
        return;
    }
    while (CarsLeftTexts.size() <= size_t(carsLeft)) {
        CarsLeftTexts.push_back(QString::fromStdString(CarsLeftText(int32_t(CarsLeftTexts.size()))));
        CarsLeftSizes.push_back(Label1->MeasuredSize(CarsLeftTexts.back()));
    }
    Label1->SetText(CarsLeftTexts[size_t(carsLeft)], CarsLeftSizes[size_t(carsLeft)]);
}

bool TForm1::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return handled;
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!ShownOnce) {
        ShownOnce = true;
        // Without a window manager the window may never be activated.
        QTimer::singleShot(0, this, [this] { FormActivate(); });
    }
}

template <class Work> void TForm1::Guarded(Work&& work)
{
    if (Failed)
        return;
    std::string failure;
    try {
        work();
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (!failure.empty())
        PendingErrors.push_back(failure);
    ShowPendingErrors();
}

void TForm1::ShowPendingErrors()
{
    std::vector<std::string> errors;
    errors.swap(PendingErrors);
    for (const std::string& message : errors)
        Boxes.Error(message + ".");
}

void TForm1::FormActivate()
{
    if (Activated)
        return;
    Activated = true;
    try {
        StartUp();
    } catch (const std::exception& e) {
        Failed = true;
        PendingErrors.push_back(e.what());
    }
    ShowPendingErrors();
    if (Failed && OnStartUpFailed)
        OnStartUpFailed();
}

void TForm1::StartUp()
{
    GameBoard.InputEnabled = false;
    GameBoard.CarSelected = false;
    for (bool& owned : PlayerProfile.Owned)
        owned = false;
    SeedRandom();
    ProgramFolder = FolderOfProgram;
    // The pages have no tab row to hide.
    Scene.CreatePreviewLayer();
    LoadLevelTable(ProgramFolder, Table);
    Scene.CreatePlayLayers();
    PlayerProfile.Money = 0;
    try {
        ToonItems();
    } catch (const GameError& e) {
        // A missing header picture leaves its slot empty; the game can go on.
        PendingErrors.push_back(e.what());
    }
    GameMode = 1;
    CurrentLevel = 1;
    PlayerProfile.UnlockedNormal = 2;
    PlayerProfile.UnlockedAdvanced = 2;
    SpinEdit2->setValue(1);
    SpinEdit3->setValue(1);
    SpinEdit2->setMaximum(PlayerProfile.UnlockedNormal);
    SpinEdit3->setMaximum(PlayerProfile.UnlockedAdvanced);
    InitMap(GameBoard, Scene, Pool, Table, CurrentLevel, Table.Level(CurrentLevel).ShapeId);
    ShowPage(TabSheet1);
    GameBoard.InputEnabled = false;
    // After the first frame: the player cannot reach the board sooner.
    QTimer::singleShot(0, this, [this] { Scene.PrepareAllPictures(); });
}

void TForm1::ShowPage(QWidget* page)
{
    Pages->setCurrentWidget(page);
}

void TForm1::B_MENUClick()
{
    Guarded([&] {
        ShowPage(TabSheet1);
        GameBoard.InputEnabled = false;
    });
}

void TForm1::B_GAMEClick()
{
    Guarded([&] {
        ShowPage(TabSheet2);
        // A won board takes no more input: another click would pay the win again.
        GameBoard.InputEnabled = GameBoard.CarsLeft > 0;
    });
}

void TForm1::B_STAGESClick()
{
    Guarded([&] {
        ShowPage(TabSheet3);
        GameBoard.InputEnabled = false;
    });
}

void TForm1::ChooseMode(int32_t mode)
{
    Guarded([&] {
        GameMode = mode;
        SelectorKeuze();
    });
}

void TForm1::Label2Click() { ChooseMode(1); }
void TForm1::Label3Click() { ChooseMode(2); }
void TForm1::Label4Click() { ChooseMode(3); }
void TForm1::Label5Click() { ChooseMode(4); }
void TForm1::Label6Click() { ChooseMode(5); }
void TForm1::Label7Click() { ChooseMode(6); }

bool TForm1::SelectorKeuze()
{
    for (int mode = 1; mode <= 6; ++mode)
        SetTextColour(ModeLabel[static_cast<size_t>(mode)], GameMode == mode ? Yellow : Grey);
    return true;
}

void TForm1::SpeedButton1Click()
{
    Guarded([&] {
        GameBoard.InputEnabled = false;
        // A number typed into a box is still unclamped here (START takes no focus).
        const int32_t normal = SpinEdit2->ClampedNumber();
        const int32_t advanced = SpinEdit3->ClampedNumber();
        CurrentLevel = LevelForMode(GameMode, normal, advanced);
        InitMap(GameBoard, Scene, Pool, Table, CurrentLevel, Table.Level(CurrentLevel).ShapeId);
        ShowPage(TabSheet2);
    });
}

void TForm1::Image321MouseUp(int x, int y)
{
    Guarded([&] {
        const ClickReport report = ClickBay(GameBoard, Scene, BayAt(x, y));
        if (report.Won)
            PayWin();
    });
}

void TForm1::Image321MouseMove(int x, int y)
{
    Guarded([&] { PointerMoveBay(GameBoard, Scene, BayAt(x, y), PlayerProfile.Options()); });
}

void TForm1::FormKeyUp(int key)
{
    Guarded([&] { GameKeyUp(GameBoard, Scene, key, Pages->currentWidget() == TabSheet2, PlayerProfile.Options()); });
}

void TForm1::PayWin()
{
    const WinPayment pay = PayWinDecision(PlayerProfile, GameMode, CurrentLevel);
    SpinEdit2->setMaximum(PlayerProfile.UnlockedNormal);
    SpinEdit3->setMaximum(PlayerProfile.UnlockedAdvanced);
    // The boxes clamp what they are given.
    if (pay.MoveNormalSpin)
        SpinEdit2->setValue(pay.NormalSpinValue);
    if (pay.MoveAdvancedSpin)
        SpinEdit3->setValue(pay.AdvancedSpinValue);
    SetAutoSizedText(Label10, MoneyText(PlayerProfile.Money));
    Boxes.Information("CONGRATULATIONS!");
    ShowPage(TabSheet1);
}

bool TForm1::ToonItems()
{
    // Every slot is refreshed even when one picture fails, and the first failure
    // is reported once the captions and the money label are right.
    // Each file is read once per refresh: the slots of items not owned share tiles/0.jpg.
    std::string failure;
    std::string loadedPath, loadedError;
    Picture loaded;
    for (int item = 1; item <= ShopItemCount; ++item) {
        const ShopItemInfo& info = ItemInfo(item);
        const bool owned = PlayerProfile.Owned[item - 1];
        PictureBox* slot = JPEGImage[static_cast<size_t>(info.HeaderSlot)];
        const std::string path = ProgramFolder + "tiles/" + std::to_string(owned ? item : 0) + ".jpg";
        if (path != loadedPath) {
            loadedPath = path;
            loadedError.clear();
            try {
                loaded = LoadJpegFile(path);
            } catch (const GameError& e) {
                loadedError = e.what();
            }
        }
        if (loadedError.empty()) {
            slot->SetPicture(loaded, path);
        } else {
            slot->Clear();
            if (failure.empty())
                failure = loadedError;
        }
        ColorButtonN[static_cast<size_t>(info.ColorButton)]->setText(owned ? QStringLiteral("SELL") : QStringLiteral("BUY"));
    }
    SetAutoSizedText(Label10, MoneyText(PlayerProfile.Money));
    if (!failure.empty())
        throw GameError(failure);
    return true;
}

void TForm1::BuyOrSell(ShopItem item)
{
    Guarded([&] {
        switch (TryBuy(PlayerProfile, item)) {
        case ShopOutcome::TooLittleMoney:
            Boxes.Information(TooLittleMoneyText);
            break;
        case ShopOutcome::Bought:
            ToonItems();
            break;
        case ShopOutcome::SellAsked:
            if (Boxes.Confirm(SellQuestion(item))) {
                Sell(PlayerProfile, item);
                ToonItems();
            }
            break;
        }
    });
}

void TForm1::ColorButton1Click() { BuyOrSell(ItemOfColorButton(1)); }
void TForm1::ColorButton2Click() { BuyOrSell(ItemOfColorButton(2)); }
void TForm1::ColorButton3Click() { BuyOrSell(ItemOfColorButton(3)); }
void TForm1::ColorButton4Click() { BuyOrSell(ItemOfColorButton(4)); }
void TForm1::ColorButton5Click() { BuyOrSell(ItemOfColorButton(5)); }
void TForm1::ColorButton6Click() { BuyOrSell(ItemOfColorButton(6)); }
void TForm1::ColorButton7Click() { BuyOrSell(ItemOfColorButton(7)); }
void TForm1::ColorButton8Click() { BuyOrSell(ItemOfColorButton(8)); }

std::string TForm1::ProfilePath() const { return ProfileFolder(ProgramFolder) + "vrz.sav"; }

void TForm1::ApplySpinValues(int32_t normal, int32_t advanced)
{
    SpinEdit2->setMaximum(PlayerProfile.UnlockedNormal);
    SpinEdit3->setMaximum(PlayerProfile.UnlockedAdvanced);
    SpinEdit2->setValue(normal);
    SpinEdit3->setValue(advanced);
}

void TForm1::SpeedButton2Click()
{
    Guarded([&] {
        SpinValues spins{SpinEdit2->TypedNumber(), SpinEdit3->TypedNumber()};
        try {
            LoadProfileFile(ProfilePath(), PlayerProfile, spins);
        } catch (...) {
            // The fields read before the damaged character keep their new values.
            ApplySpinValues(spins.Normal, spins.Advanced);
            throw;
        }
        ApplySpinValues(spins.Normal, spins.Advanced);
        ToonItems();
        Boxes.Information("Profile loaded");
    });
}

void TForm1::SpeedButton3Click()
{
    Guarded([&] {
        MakeProfileFolder(ProfileFolder(ProgramFolder));
        SaveProfileFile(ProfilePath(), PlayerProfile, SpinValues{SpinEdit2->TypedNumber(), SpinEdit3->TypedNumber()});
        Boxes.Information("SAVED");
    });
}

void TForm1::SpeedButton4Click()
{
    bool saved = false;
    Guarded([&] {
        MakeProfileFolder(ProfileFolder(ProgramFolder));
        SaveProfileFile(ProfilePath(), PlayerProfile, SpinValues{SpinEdit2->TypedNumber(), SpinEdit3->TypedNumber()});
        saved = true;
    });
    if (saved)
        close();
}
