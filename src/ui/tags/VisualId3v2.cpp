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
#include <string_view>
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

    BuildFieldPages();
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

std::vector<VisualId3v2::FieldPage> VisualId3v2::FieldPages() {
    using T = const tags::Id3v2&;
    auto text = [](const char* caption, TextValue& widget, QString (*value)(T)) {
        return Field{caption, FieldKind::Text, &widget, nullptr, value, nullptr};
    };
    auto url = [](const char* caption, TextValue& widget, QString (*value)(T)) {
        return Field{caption, FieldKind::Url, &widget, nullptr, value, nullptr};
    };
    auto list = [](const char* caption, ListValue& widget, QStringList (*items)(T)) {
        return Field{caption, FieldKind::List, nullptr, &widget, nullptr, items};
    };
    PInformation& i = datas_.Informations;
    PMisc& m = datas_.Misc;
    PText1& t1 = datas_.Texts.Text1;
    PText2& t2 = datas_.Texts.Text2;
    PText3& t3 = datas_.Texts.Text3;
    PText4& t4 = datas_.Texts.Text4;
    PUrls& u = datas_.Urls;
    return {
        {"Informations",
         {
             text("FileName", i.FileName,
                  [](T t) { return QFileInfo(ToQString(t.FileName())).fileName(); }),
             text("Tag Present", i.TagPresent, [](T t) { return Bool(t.TagPresent()); }),
             text("Tag Size", i.TagSize,
                  [](T t) { return QString::number(t.TagSize()) + QStringLiteral(" Byte(s)"); }),
             text("Tag Version", i.TagVersion,
                  [](T t) { return QLocale().toString(t.Version(), 'f', 2); }),
             text("Unsynchro", i.Unsynchro, [](T t) { return Bool(t.Unsynchronisation()); }),
             text("Experimental", i.Experimental, [](T t) { return Bool(t.Experimental()); }),
             text("Extended", i.Extended, [](T t) { return Bool(t.ExtendedHeader()); }),
         }},
        {"Misc",
         {
             list("Involved Pers", m.InvolvedPersons,
                  [](T t) {
                      const tags::IdIpl& ipl = t.InvolvedPeople();
                      return Paired(ipl.Persons(), ipl.Jobs());
                  }),
             text("Seller", m.Seller, [](T t) { return ToQString(t.Owner().Seller); }),
             text("Price", m.Price, [](T t) { return ToQString(t.Owner().Price); }),
             text("Purchased the", m.PurchasedThe,
                  [](T t) {
                      const tags::Id3Date& date = t.Owner().DatePurchased;
                      return QLocale().toString(QDate(date.Year, date.Month, date.Day),
                                                QLocale::ShortFormat);
                  }),
             text("Counter", m.Counter,
                  [](T t) { return QString::number(t.Popularimeter().Counter); }),
             text("Rating", m.Rating,
                  [](T t) {
                      return QString::number(t.Popularimeter().Rating * 100 / 255) +
                             QStringLiteral("%");
                  }),
             text("User Email", m.UserEmail,
                  [](T t) { return ToQString(t.Popularimeter().UserEmail); }),
         }},
        {"Part 1",
         {
             text("Creation", t1.Creation, [](T t) { return ToQString(t.Texts().Date); }),
             text("Title", t1.Title, [](T t) { return ToQString(t.Texts().ContentDescription); }),
             text("SubTitle", t1.SubTitle, [](T t) { return ToQString(t.Texts().SubTitle); }),
             list("Artist(s)", t1.Artists, [](T t) { return ToQStringList(t.Texts().Performers); }),
             text("Band", t1.Band, [](T t) { return ToQString(t.Texts().Band); }),
             text("Conductor", t1.Conductor, [](T t) { return ToQString(t.Texts().Conductor); }),
             text("Remixed by", t1.RemixedBy, [](T t) { return ToQString(t.Texts().ModifiedBy); }),
             list("Composer(s)", t1.Composers,
                  [](T t) { return ToQStringList(t.Texts().Composer); }),
             list("Lyricist(s)", t1.Lyricists,
                  [](T t) { return ToQStringList(t.Texts().Lyricists); }),
             list("Langague(s)", t1.Languages,
                  [](T t) { return ToQStringList(t.Texts().Languages); }),
         }},
        {"Part 2",
         {
             text("Content Type", t2.ContentType,
                  [](T t) { return ToQString(t.Texts().ContentGroup); }),
             text("Album", t2.Album, [](T t) { return ToQString(t.Texts().Album); }),
             text("Part", t2.Part, [](T t) { return ToQString(t.Texts().PartOf); }),
             text("Track", t2.Track, [](T t) { return ToQString(t.Texts().TrackNumber); }),
             text("ISRC", t2.ISRC, [](T t) { return ToQString(t.Texts().ISRC); }),
             text("Year", t2.Year, [](T t) { return ToQString(t.Texts().Year); }),
             text("Date", t2.Date, [](T t) { return ToQString(t.Texts().Date); }),
             text("Time", t2.Time, [](T t) { return ToQString(t.Texts().Time); }),
             text("Recorded at", t2.recordedAt,
                  [](T t) { return ToQString(t.Texts().RecordingDate); }),
             text("Media Type", t2.MediaType,
                  [](T t) { return ToQString(tags::MediaTypeDescription(t.Texts().MediaType)); }),
         }},
        {"Part 3",
         {
             text("BPM", t3.BPM, [](T t) { return QString::number(t.Texts().BPM); }),
             text("Copyright", t3.Copyright, [](T t) { return ToQString(t.Texts().Copyright); }),
             text("Publisher", t3.Publisher, [](T t) { return ToQString(t.Texts().Publisher); }),
             text("Encoded By", t3.EncodedBy, [](T t) { return ToQString(t.Texts().EncodedBy); }),
             text("Encoder", t3.Encoder, [](T t) { return ToQString(t.Texts().EncodingSoftware); }),
             text("O. FileName", t3.OriginalFileName,
                  [](T t) { return ToQString(t.Texts().OriginalFileName); }),
             text("Length", t3.Length, [](T t) { return ToQString(t.Texts().Length); }),
             text("Size", t3.Size,
                  [](T t) { return QString::number(t.Texts().Size) + QStringLiteral(" Byte(s)"); }),
             text("Delay", t3.Delay,
                  [](T t) {
                      return QString::number(t.Texts().PlaylistDelay) +
                             QStringLiteral(" millisecond(s)");
                  }),
             text("Initial Key", t3.InitialKey,
                  [](T t) { return ToQString(t.Texts().InitialKey); }),
         }},
        {"Part 4",
         {
             text("O. Album", t4.OriginalAlbum,
                  [](T t) { return ToQString(t.Texts().OriginalTitle); }),
             list("O. Artist(s)", t4.OriginalArtists,
                  [](T t) { return ToQStringList(t.Texts().OriginalArtist); }),
             list("O. Lyricist(s)", t4.OriginalLyricists,
                  [](T t) { return ToQStringList(t.Texts().OriginalLyricists); }),
             text("O. Year", t4.OriginalYear,
                  [](T t) { return ToQString(t.Texts().OriginalReleaseYear); }),
             text("File Owner", t4.FileOwner, [](T t) { return ToQString(t.Texts().FileOwner); }),
             text("File Type", t4.FileType,
                  [](T t) { return ToQString(tags::FileTypeDescription(t.Texts().FileType)); }),
             text("Radio Name", t4.RadioName,
                  [](T t) { return ToQString(t.Texts().InternetRadioName); }),
             text("Radio Owner", t4.RadioOwner,
                  [](T t) { return ToQString(t.Texts().InternetRadioOwner); }),
             list("User Defined", t4.UserDefined,
                  [](T t) {
                      const tags::ID3UDText& ud = t.UserDefinedText();
                      return Paired(ud.Values(), ud.Descriptions());
                  }),
         }},
        {"Urls",
         {
             url("Commercial", u.Commercial, [](T t) { return ToQString(t.Web().CommercialInfo); }),
             url("Copyright", u.Copyright, [](T t) { return ToQString(t.Web().LegalInfo); }),
             url("Audio File", u.AudioFile, [](T t) { return ToQString(t.Web().OfficialAudio); }),
             url("Artist Page", u.ArtistPage,
                 [](T t) { return ToQString(t.Web().OfficialArtist); }),
             url("Audio Source", u.AudioSource,
                 [](T t) { return ToQString(t.Web().OfficialAudioSource); }),
             url("Radio Station", u.RadioStation,
                 [](T t) { return ToQString(t.Web().InternetRadioStation); }),
             url("Payment", u.Payment, [](T t) { return ToQString(t.Web().Payment); }),
             url("Publishers", u.Publishers, [](T t) { return ToQString(t.Web().Publishers); }),
             list("User Defined", u.UserDefined,
                  [](T t) { return ToQStringList(t.UserDefinedWeb().URLs()); }),
         }},
    };
}

void VisualId3v2::BuildFieldPages() {
    fieldPages_ = FieldPages();
    for (const FieldPage& page : fieldPages_) {
        // The pictures' page has a layout of its own; it sits between the misc and text pages.
        if (page.title == std::string_view("Part 1")) BuildPhotos();
        ValueGrid g(AddPage(QString::fromLatin1(page.title)));
        for (const Field& f : page.fields) {
            switch (f.kind) {
            case FieldKind::Text:
                *f.text = g.Text(f.caption);
                break;
            case FieldKind::Url:
                *f.text = g.Url(f.caption);
                break;
            case FieldKind::List:
                *f.list = g.List(f.caption);
                break;
            }
        }
        g.Finish();
    }
    PUrls& d = datas_.Urls;
    // Choosing a user-defined URL opens it.
    connect(d.UserDefined.Widget(), &QComboBox::activated, this,
            [box = d.UserDefined.Widget()](int row) { UrlValueEdit::Open(box->itemText(row)); });
    // The wheel would choose every address it rolls past and open each one in the browser.
    d.UserDefined.Widget()->installEventFilter(this);
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
    for (const FieldPage& page : fieldPages_)
        for (const Field& f : page.fields) {
            if (f.list)
                f.list->SetItems(f.itemsOf(*tag_));
            else
                f.text->SetText(f.textOf(*tag_));
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
