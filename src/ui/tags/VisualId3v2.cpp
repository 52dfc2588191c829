// The ID3v2 viewer panel.
#include "ui/tags/VisualId3v2.h"

#include "core/platform/Error.h"
#include "core/platform/PictureRegistry.h"
#include "ui/platform/QtText.h"
#include "ui/platform/VelmoraApplication.h"
#include "ui/tags/PictureBox.h"
#include "ui/tags/TagPictures.h"
#include "ui/tags/UrlValueEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QSaveFile>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTreeWidget>
#include <type_traits>

namespace velmora::ui {

namespace {

constexpr int kTreeWidth = 120;

// "value (note)" for each pair of two parallel lists: people with their jobs, texts with their
// descriptions.
QStringList Paired(const platform::StringList& values, const platform::StringList& notes) {
    QStringList items;
    for (int i = 0; i < values.Count(); ++i)
        items << ToQString(values.Get(i) + " (" + notes.Get(i) + ")");
    return items;
}

QString Bool(bool b) {
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

// Rows of captions and values, laid out in two columns of captions and values.
class ValueGrid {
public:
    explicit ValueGrid(QWidget* page) : page_(page) {}

    TextValue Text(const char* caption) { return TextValue(Add(caption, new QLineEdit(page_))); }
    TextValue Url(const char* caption) { return TextValue(Add(caption, new UrlValueEdit(page_))); }
    ListValue List(const char* caption) {
        auto* box = new QComboBox(page_);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(8);
        Add(caption, box);
        return ListValue(box);
    }

    // Places the rows in order, filling one pair of caption and value columns after another.
    void Finish(int columns = 2, int margin = 4) {
        auto* grid = new QGridLayout(page_);
        grid->setContentsMargins(margin, margin, margin, margin);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(3);
        const int count = static_cast<int>(rows_.size());
        const int perColumn = (count + columns - 1) / columns;
        for (int i = 0; i < count; ++i) {
            const int column = i / perColumn * 2;
            grid->addWidget(rows_[i].first, i % perColumn, column);
            grid->addWidget(rows_[i].second, i % perColumn, column + 1);
            grid->setColumnStretch(column + 1, 1);
        }
        grid->setRowStretch(perColumn, 1);
    }

private:
    template <typename W> W* Add(const char* caption, W* value) {
        auto* label = new QLabel(QString::fromUtf8(caption), page_);
        label->setBuddy(value);
        value->setAccessibleName(QString::fromUtf8(caption));
        if constexpr (std::is_base_of_v<QLineEdit, W>) {
            value->setReadOnly(true);
            value->setText(QStringLiteral("-")); // the value before the first read
        }
        value->setMinimumWidth(60);
        rows_.emplace_back(label, value);
        return value;
    }

    QWidget* page_;
    std::vector<std::pair<QLabel*, QWidget*>> rows_;
};

} // namespace

const std::vector<VisualId3v2::PictureKind>& VisualId3v2::PictureKinds() {
    static const std::vector<PictureKind> kinds{
        {"Artist", 8},
        {"Band", 10},
        {"Band Logo", 19},
        {"Coloured Fish", 17},
        {"Composer", 11},
        {"Conductor", 9},
        {"Cover Back", 4},
        {"Cover Front", 3},
        {"During Performance", 15},
        {"During recording", 14},
        {"File Icon", 1},
        {"Illustration", 18},
        {"Lead Artist", 7},
        {"Leaflet", 5},
        {"Lyricist", 12},
        {"Media", 6},
        {"Movie Capture", 16},
        {"Other", 0},
        {"Other Icon", 2},
        {"Publisher Logo", 20},
        {"Recording Location", 13},
    };
    return kinds;
}

VisualId3v2::VisualId3v2(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("VisualId3v2"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    TreeView = new QTreeWidget(this);
    TreeView->setObjectName(QStringLiteral("TreeView"));
    TreeView->setAccessibleName(QStringLiteral("Topics"));
    Pages = new QStackedWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    row->addWidget(TreeView);
    row->addWidget(Pages, 1);

    BuildInformations();
    BuildMisc();
    BuildPhotos();
    BuildTexts();
    BuildUrls();
    BuildTree();
    BuildPictureMenu();
}

QWidget* VisualId3v2::AddPage(const QString& title) {
    auto* scroll = new QScrollArea(Pages);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setAccessibleName(title);
    auto* page = new QWidget;
    page->setObjectName(title);
    scroll->setWidget(page);
    pageOfTopic_.insert(title, Pages->addWidget(scroll));
    return page;
}

void VisualId3v2::BuildTree() {
    TreeView->setHeaderHidden(true);
    TreeView->setFixedWidth(kTreeWidth);
    TreeView->setEditTriggers(QAbstractItemView::NoEditTriggers); // read-only
    TreeView->setMouseTracking(true);                             // hot tracking
    TreeView->setRootIsDecorated(true);
    auto add = [this](QTreeWidgetItem* parent, const char* caption) {
        QStringList text{QString::fromLatin1(caption)};
        return parent ? new QTreeWidgetItem(parent, text) : new QTreeWidgetItem(TreeView, text);
    };
    QTreeWidgetItem* informations = add(nullptr, "Informations");
    add(nullptr, "Misc");
    add(nullptr, "Photos");
    QTreeWidgetItem* texts = add(nullptr, "Texts");
    for (const char* part : {"Part 1", "Part 2", "Part 3", "Part 4"})
        add(texts, part);
    add(nullptr, "Urls");
    TreeView->expandAll();
    connect(TreeView, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) ShowTopic(item->text(0));
    });
    TreeView->setCurrentItem(informations);
}

void VisualId3v2::ShowTopic(const QString& caption) {
    auto it = pageOfTopic_.constFind(caption);
    if (it != pageOfTopic_.constEnd()) Pages->setCurrentIndex(*it);
}

QString VisualId3v2::ShownTopic() const {
    return pageOfTopic_.key(Pages->currentIndex());
}

void VisualId3v2::BuildInformations() {
    ValueGrid g(AddPage(QStringLiteral("Informations")));
    PInformation& d = datas_.Informations;
    d.FileName = g.Text("FileName");
    d.TagPresent = g.Text("Tag Present");
    d.TagSize = g.Text("Tag Size");
    d.TagVersion = g.Text("Tag Version");
    d.Unsynchro = g.Text("Unsynchro");
    d.Experimental = g.Text("Experimental");
    d.Extended = g.Text("Extended");
    g.Finish();
}

void VisualId3v2::BuildMisc() {
    ValueGrid g(AddPage(QStringLiteral("Misc")));
    PMisc& d = datas_.Misc;
    d.InvolvedPersons = g.List("Involved Pers");
    d.Seller = g.Text("Seller");
    d.Price = g.Text("Price");
    d.PurchasedThe = g.Text("Purchased the");
    d.Counter = g.Text("Counter");
    d.Rating = g.Text("Rating");
    d.UserEmail = g.Text("User Email");
    g.Finish();
}

void VisualId3v2::BuildPhotos() {
    QWidget* page = AddPage(QStringLiteral("Photos"));
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 4, 4, 4);
    auto* fields = new QWidget(page);
    ValueGrid g(fields);
    Types = g.List("Types");
    Description = g.Text("Description");
    g.Finish(1, 0); // one column: the picture takes the room to the right
    fields->setFixedWidth(240);
    Image = new PictureBox(page);
    Image->setObjectName(QStringLiteral("Image"));
    row->addWidget(fields);
    row->addWidget(Image, 1);
    connect(Types.Widget(), &QComboBox::currentIndexChanged, this,
            [this](int row) { ShowKind(row); });
}

void VisualId3v2::BuildTexts() {
    {
        ValueGrid g(AddPage(QStringLiteral("Part 1")));
        PText1& d = datas_.Texts.Text1;
        d.Creation = g.Text("Creation");
        d.Title = g.Text("Title");
        d.SubTitle = g.Text("SubTitle");
        d.Artists = g.List("Artist(s)");
        d.Band = g.Text("Band");
        d.Conductor = g.Text("Conductor");
        d.RemixedBy = g.Text("Remixed by");
        d.Composers = g.List("Composer(s)");
        d.Lyricists = g.List("Lyricist(s)");
        d.Languages = g.List("Langague(s)");
        g.Finish();
    }
    {
        ValueGrid g(AddPage(QStringLiteral("Part 2")));
        PText2& d = datas_.Texts.Text2;
        d.ContentType = g.Text("Content Type");
        d.Album = g.Text("Album");
        d.Part = g.Text("Part");
        d.Track = g.Text("Track");
        d.ISRC = g.Text("ISRC");
        d.Year = g.Text("Year");
        d.Date = g.Text("Date");
        d.Time = g.Text("Time");
        d.recordedAt = g.Text("Recorded at");
        d.MediaType = g.Text("Media Type");
        g.Finish();
    }
    {
        ValueGrid g(AddPage(QStringLiteral("Part 3")));
        PText3& d = datas_.Texts.Text3;
        d.BPM = g.Text("BPM");
        d.Copyright = g.Text("Copyright");
        d.Publisher = g.Text("Publisher");
        d.EncodedBy = g.Text("Encoded By");
        d.Encoder = g.Text("Encoder");
        d.OriginalFileName = g.Text("O. FileName");
        d.Length = g.Text("Length");
        d.Size = g.Text("Size");
        d.Delay = g.Text("Delay");
        d.InitialKey = g.Text("Initial Key");
        g.Finish();
    }
    {
        ValueGrid g(AddPage(QStringLiteral("Part 4")));
        PText4& d = datas_.Texts.Text4;
        d.OriginalAlbum = g.Text("O. Album");
        d.OriginalArtists = g.List("O. Artist(s)");
        d.OriginalLyricists = g.List("O. Lyricist(s)");
        d.OriginalYear = g.Text("O. Year");
        d.FileOwner = g.Text("File Owner");
        d.FileType = g.Text("File Type");
        d.RadioName = g.Text("Radio Name");
        d.RadioOwner = g.Text("Radio Owner");
        d.UserDefined = g.List("User Defined");
        g.Finish();
    }
}

void VisualId3v2::BuildUrls() {
    ValueGrid g(AddPage(QStringLiteral("Urls")));
    PUrls& d = datas_.Urls;
    d.Commercial = g.Url("Commercial");
    d.Copyright = g.Url("Copyright");
    d.AudioFile = g.Url("Audio File");
    d.ArtistPage = g.Url("Artist Page");
    d.AudioSource = g.Url("Audio Source");
    d.RadioStation = g.Url("Radio Station");
    d.Payment = g.Url("Payment");
    d.Publishers = g.Url("Publishers");
    d.UserDefined = g.List("User Defined");
    g.Finish();
    // Choosing a user-defined URL opens it.
    connect(d.UserDefined.Widget(), &QComboBox::activated, this,
            [box = d.UserDefined.Widget()](int row) { UrlValueEdit::Open(box->itemText(row)); });
    // The wheel would choose every address it rolls past and open each one in the browser.
    d.UserDefined.Widget()->installEventFilter(this);
}

bool VisualId3v2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == datas_.Urls.UserDefined.Widget() && event->type() == QEvent::Wheel) return true;
    return QWidget::eventFilter(watched, event);
}

void VisualId3v2::BuildPictureMenu() {
    PopupMenuPicture = new QMenu(this);
    Save1 = PopupMenuPicture->addAction(QStringLiteral("&Save..."));
    Save1->setObjectName(QStringLiteral("Save1"));
    connect(Save1, &QAction::triggered, this, [this] { Guarded(this, [this] { SavePicture(); }); });
    Stretch1 = PopupMenuPicture->addAction(QStringLiteral("Stretch"));
    Stretch1->setObjectName(QStringLiteral("Stretch1"));
    Stretch1->setCheckable(true);
    connect(Stretch1, &QAction::toggled, Image, &PictureBox::SetStretch);
    Image->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Image, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { PopupMenuPicture->popup(Image->mapToGlobal(p)); });
}

void VisualId3v2::SetFileName(const std::string& fileName) {
    auto tag = std::make_shared<tags::Id3v2>();
    tag->SetFileName(fileName);
    ShowTag(std::move(tag));
}

PreparedPicture VisualId3v2::PrepareFirstPicture(const tags::Id3v2& tag) {
    for (const PictureKind& kind : PictureKinds())
        if (TagPictures::HoldsImage(tag, kind.type))
            return {kind.type, TagPictures::Image(tag, kind.type)};
    return {};
}

void VisualId3v2::ShowTag(std::shared_ptr<const tags::Id3v2> tag, PreparedPicture prepared) {
    tag_ = std::move(tag);
    prepared_ = std::move(prepared);
    Refresh();
    prepared_ = {};
}

void VisualId3v2::Refresh() {
    const tags::Id3v2& t = *tag_;
    const QLocale locale;
    {
        PInformation& d = datas_.Informations;
        d.FileName.SetText(QFileInfo(ToQString(t.FileName())).fileName());
        d.TagPresent.SetText(Bool(t.TagPresent()));
        d.TagSize.SetText(QString::number(t.TagSize()) + QStringLiteral(" Byte(s)"));
        d.TagVersion.SetText(locale.toString(t.Version(), 'f', 2));
        d.Unsynchro.SetText(Bool(t.Unsynchronisation()));
        d.Experimental.SetText(Bool(t.Experimental()));
        d.Extended.SetText(Bool(t.ExtendedHeader()));
    }
    {
        PMisc& d = datas_.Misc;
        const tags::IdIpl& ipl = t.InvolvedPeople();
        d.InvolvedPersons.SetItems(Paired(ipl.Persons(), ipl.Jobs()));
        d.Seller.SetText(ToQString(t.Owner().Seller));
        d.Price.SetText(ToQString(t.Owner().Price));
        const tags::Id3Date& date = t.Owner().DatePurchased;
        d.PurchasedThe.SetText(
            locale.toString(QDate(date.Year, date.Month, date.Day), QLocale::ShortFormat));
        d.Counter.SetText(QString::number(t.Popularimeter().Counter));
        d.Rating.SetText(QString::number(t.Popularimeter().Rating * 100 / 255) +
                         QStringLiteral("%"));
        d.UserEmail.SetText(ToQString(t.Popularimeter().UserEmail));
    }
    const tags::Id3Text& x = t.Texts();
    {
        PText1& d = datas_.Texts.Text1;
        d.Creation.SetText(ToQString(x.Date));
        d.Title.SetText(ToQString(x.ContentDescription));
        d.SubTitle.SetText(ToQString(x.SubTitle));
        d.Artists.SetItems(ToQStringList(x.Performers));
        d.Band.SetText(ToQString(x.Band));
        d.Conductor.SetText(ToQString(x.Conductor));
        d.RemixedBy.SetText(ToQString(x.ModifiedBy));
        d.Composers.SetItems(ToQStringList(x.Composer));
        d.Lyricists.SetItems(ToQStringList(x.Lyricists));
        d.Languages.SetItems(ToQStringList(x.Languages));
    }
    {
        PText2& d = datas_.Texts.Text2;
        d.ContentType.SetText(ToQString(x.ContentGroup));
        d.Album.SetText(ToQString(x.Album));
        d.Part.SetText(ToQString(x.PartOf));
        d.Track.SetText(ToQString(x.TrackNumber));
        d.ISRC.SetText(ToQString(x.ISRC));
        d.Year.SetText(ToQString(x.Year));
        d.Date.SetText(ToQString(x.Date));
        d.Time.SetText(ToQString(x.Time));
        d.recordedAt.SetText(ToQString(x.RecordingDate));
        d.MediaType.SetText(ToQString(tags::MediaTypeDescription(x.MediaType)));
    }
    {
        PText3& d = datas_.Texts.Text3;
        d.BPM.SetText(QString::number(x.BPM));
        d.Copyright.SetText(ToQString(x.Copyright));
        d.Publisher.SetText(ToQString(x.Publisher));
        d.EncodedBy.SetText(ToQString(x.EncodedBy));
        d.Encoder.SetText(ToQString(x.EncodingSoftware));
        d.OriginalFileName.SetText(ToQString(x.OriginalFileName));
        d.Length.SetText(ToQString(x.Length));
        d.Size.SetText(QString::number(x.Size) + QStringLiteral(" Byte(s)"));
        d.Delay.SetText(QString::number(x.PlaylistDelay) + QStringLiteral(" millisecond(s)"));
        d.InitialKey.SetText(ToQString(x.InitialKey));
    }
    {
        PText4& d = datas_.Texts.Text4;
        d.OriginalAlbum.SetText(ToQString(x.OriginalTitle));
        d.OriginalArtists.SetItems(ToQStringList(x.OriginalArtist));
        d.OriginalLyricists.SetItems(ToQStringList(x.OriginalLyricists));
        d.OriginalYear.SetText(ToQString(x.OriginalReleaseYear));
        d.FileOwner.SetText(ToQString(x.FileOwner));
        d.FileType.SetText(ToQString(tags::FileTypeDescription(x.FileType)));
        d.RadioName.SetText(ToQString(x.InternetRadioName));
        d.RadioOwner.SetText(ToQString(x.InternetRadioOwner));
        const tags::ID3UDText& ud = t.UserDefinedText();
        d.UserDefined.SetItems(Paired(ud.Values(), ud.Descriptions()));
    }
    {
        PUrls& d = datas_.Urls;
        const tags::Id3Web& w = t.Web();
        d.Commercial.SetText(ToQString(w.CommercialInfo));
        d.Copyright.SetText(ToQString(w.LegalInfo));
        d.AudioFile.SetText(ToQString(w.OfficialAudio));
        d.ArtistPage.SetText(ToQString(w.OfficialArtist));
        d.AudioSource.SetText(ToQString(w.OfficialAudioSource));
        d.RadioStation.SetText(ToQString(w.InternetRadioStation));
        d.Payment.SetText(ToQString(w.Payment));
        d.Publishers.SetText(ToQString(w.Publishers));
        d.UserDefined.SetItems(ToQStringList(t.UserDefinedWeb().URLs()));
    }
    RefreshPictures();
}

void VisualId3v2::RefreshPictures() {
    QStringList names;
    shownTypes_.clear();
    for (const PictureKind& kind : PictureKinds()) {
        if (!TagPictures::HoldsImage(*tag_, kind.type)) continue;
        names << QString::fromLatin1(kind.name);
        shownTypes_.push_back(kind.type);
    }
    Types.SetItems(names);
    shownType_ = -1; // a new tag: show its first kind even when it is the same kind as before
    ShowKind(Types.Widget()->currentIndex());
}

void VisualId3v2::ShowKind(int row) {
    const int type = row >= 0 && row < static_cast<int>(shownTypes_.size()) ? shownTypes_[row] : -1;
    if (type == shownType_ && type != -1) return;
    shownType_ = type;
    if (type < 0 || !tag_) {
        Description.SetText(QString());
        Image->SetImage(QImage());
        return;
    }
    Description.SetText(ToQString(tag_->Images().Infos.Get(type)));
    Image->SetImage(type == prepared_.type ? prepared_.image : TagPictures::Image(*tag_, type));
}

void VisualId3v2::SavePicture() {
    if (!tag_ || shownType_ < 0 || Image->Image().isNull()) {
        QApplication::beep();
        return;
    }
    QString kindName;
    for (const PictureKind& kind : PictureKinds())
        if (kind.type == shownType_) kindName = QString::fromLatin1(kind.name);
    const std::string extension = TagPictures::Extension(*tag_, shownType_);
    const QString ext = ToQString(extension);
    const QString description =
        ToQString(platform::PictureRegistry::Instance().Description(extension));
    const QString filter =
        (description.isEmpty() ? ext.toUpper() : description) + QStringLiteral(" (*.%1)").arg(ext);
    const QString suggested =
        QFileInfo(ToQString(tag_->FileName())).dir().filePath(kindName + QLatin1Char('.') + ext);
    const QString target =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save Picture"), suggested, filter);
    if (target.isEmpty()) return;
    // The tag's own bytes: the picture keeps its format and quality.
    const QByteArray bytes = TagPictures::Bytes(*tag_, shownType_);
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw platform::Exception(
            platform::Format("Cannot save the picture to \"%s\". %s",
                             {FromQString(target), FromQString(file.errorString())}));
}

} // namespace velmora::ui
