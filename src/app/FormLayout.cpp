// The window's widgets: their places, sizes, colours and fonts, as designed.
#include "app/Form1.h"
#include "view/PageLayout.h"
#include "app/WindowDesign.h"
#include "view/Projection.h"

#include <QLabel>

#include <algorithm>
#include <iterator>

namespace {

const QColor ShopText(0xFF, 0x80, 0x80);

QLabel* MakeLabel(const QString& text, const QFont& font, const QColor& colour, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    SetTextColour(label, colour);
    return label;
}

void Place(QWidget* widget, const PageRect& r) { widget->setGeometry(r.Left, r.Top, r.Width, r.Height); }

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

} // namespace

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
    for (const ShopPlace& place : ShopPlaces) {
        auto* slot = new PictureBox(Panel1);
        slot->setObjectName(QStringLiteral("JPEGImage%1").arg(place.HeaderSlot));
        slot->setGeometry(place.HeaderLeft, 4, ItemPictureWidth, ItemPictureHeight);
        slot->SetPicture(placeholder, "header placeholder");
        JPEGImage[static_cast<size_t>(place.HeaderSlot)] = slot;
    }

    Image322 = new LayerSceneWidget(PreviewLayers, QColor(0xA0, 0xA0, 0xA0), Panel1);
    Image322->setObjectName(QStringLiteral("Image322"));
    Image322->setGeometry(536, 12, CarRectWidth, CarRectHeight);
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

void TForm1::BuildPages()
{
    PageControl1 = new QWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    Pages = new QStackedWidget(PageControl1);
    Pages->setObjectName(QStringLiteral("Pages"));
    TabSheet1 = MakePage("TabSheet1", Pages);
    TabSheet2 = MakePage("TabSheet2", Pages);
    TabSheet3 = MakePage("TabSheet3", Pages);
}

void TForm1::BuildMenuPage(const Picture& page)
{
    auto* background = new PictureBox(TabSheet1);
    background->setObjectName(QStringLiteral("JPEGImage1"));
    background->SetPicture(page, "page background");
    background->setGeometry(PageBackgroundPlace.Left, PageBackgroundPlace.Top, page.Width, page.Height);
    JPEGImage[1] = background;

    Label8 = MakeLabel(QStringLiteral("Vroomzle 1.00 by the Vroomzle team, 2026"), ArialFont(16), DarkRed, TabSheet1);
    Label8->setObjectName(QStringLiteral("Label8"));
    Place(Label8, CreditLine);
    Label8->setAlignment(Qt::AlignCenter);
    Label9 = MakeLabel(QStringLiteral("Tell us what you think on our forum"), ArialFont(11), DarkRed, TabSheet1);
    Label9->setObjectName(QStringLiteral("Label9"));
    Place(Label9, ForumLine);
    Label9->setAlignment(Qt::AlignCenter);

    Shape1 = new FrameShape(DarkRed, TabSheet1);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Place(Shape1, MenuFrame);
    Shape2 = new FrameShape(OtherModeColour, TabSheet1);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Place(Shape2, ButtonFrame);

    // Label2 … Label7, one per game mode, in mode order.
    for (const GameModeInfo& info : GameModes) {
        const int mode = static_cast<int>(info.Mode);
        auto* label = new ClickLabel(QString::fromLatin1(info.Caption), TabSheet1);
        label->setObjectName(QStringLiteral("Label%1").arg(mode + 1));
        label->setFont(ArialFont(19));
        SetTextColour(label, info.Mode == GameMode::NormalChampionship ? ChosenModeColour : OtherModeColour);
        label->move(ModeLabelLeft, ModeLabelTop + ModeLabelStep * (mode - 1));
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
    Place(SpinEdit2, SpinEdit2Place);
    SpinEdit3 = new SpinEdit(TabSheet1);
    SpinEdit3->setObjectName(QStringLiteral("SpinEdit3"));
    Place(SpinEdit3, SpinEdit3Place);
    setTabOrder(SpinEdit2, SpinEdit3);

    SpeedButton1 = new SpeedButton(QStringLiteral("START"), ArialFont(27, true), TabSheet1);
    SpeedButton2 = new SpeedButton(QStringLiteral("Load Profile"), ArialFont(16), TabSheet1);
    SpeedButton3 = new SpeedButton(QStringLiteral("Save Profile"), ArialFont(16), TabSheet1);
    SpeedButton4 = new SpeedButton(QStringLiteral("SAVE && EXIT"), ArialFont(21), TabSheet1);
    SpeedButton* buttons[4] = {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4};
    for (int i = 0; i < 4; ++i) {
        buttons[i]->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
        Place(buttons[i], FlatButtonPlace(i));
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
    Image321 = new LayerSceneWidget(PlayLayers, Qt::black, Panel2);
    Image321->setObjectName(QStringLiteral("Image321"));
    Image321->setGeometry(8, 3, PlayViewWidth, PlayViewHeight);
    Image321->OnMouseUp = [this](int x, int y) { Image321MouseUp(x, y); };
    Image321->OnMouseMove = [this](int x, int y) { Image321MouseMove(x, y); };
}

void TForm1::BuildStagesPage(const std::vector<Picture>& shopPictures)
{
    auto* background = new PictureBox(TabSheet3);
    background->setObjectName(QStringLiteral("JPEGImage10"));
    background->SetImage(JPEGImage[1]->Image(), "page background");
    Place(background, PageBackgroundPlace);
    JPEGImage[10] = background;

    fcLabel2 = new EffectLabel(QStringLiteral("SHOP"), TitleStyle(53), TabSheet3);
    fcLabel2->setObjectName(QStringLiteral("fcLabel2"));
    Place(fcLabel2, ShopTitle);

    for (size_t n = 0; n < std::size(ShopPlaces); ++n) {
        const ShopPlace& place = ShopPlaces[n];
        const ShopItemInfo& info = ItemInfo(place.Item);
        auto* picture = new PictureBox(TabSheet3);
        picture->setObjectName(QStringLiteral("JPEGImage%1").arg(place.Picture));
        picture->SetPicture(shopPictures[n], info.Name);
        picture->setGeometry(place.PictureLeft, place.PictureTop, ItemPictureWidth, ItemPictureHeight);
        JPEGImage[static_cast<size_t>(place.Picture)] = picture;

        const QString lines[3] = {QString::fromLatin1(info.Name), QString::fromLatin1(info.Use),
                                  QString::fromStdString(MoneyText(info.Price))};
        const QFont fonts[3] = {ArialFont(12, true), ArialFont(12), ArialFont(16, true)};
        for (int line = 0; line < 3; ++line) {
            QLabel* label = MakeLabel(lines[line], fonts[line], ShopText, TabSheet3);
            label->setObjectName(QStringLiteral("Label%1").arg(place.FirstLabel + line));
            label->move(place.Left, place.Top + ShopLineStep * line);
            label->adjustSize();
            ShopLabel[static_cast<size_t>(place.FirstLabel + line)] = label;
        }
    }
    // Created in number order, so the focus moves from 1 to 8.
    for (int n = 1; n <= ShopItemCount; ++n) {
        const ShopPlace& place = PlaceOf(ItemOfColorButton(n));
        auto* button = new ColorButton(ShopText, TabSheet3);
        button->setObjectName(QStringLiteral("ColorButton%1").arg(n));
        button->setText(QStringLiteral("BUY"));
        button->setGeometry(place.ButtonLeft, place.ButtonTop, 75, 25);
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
// The pages sit inside it as in a tab control whose tab row is hidden.
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
