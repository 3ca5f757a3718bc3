#pragma once
// The state of a kept window that an input can change, recorded once after the window loaded and
// put back after every input: for each widget, action and timer under the window, the values the
// client's handlers set (texts, pictures, lists, check marks, enabled and hidden flags, places,
// fonts, colours, cursors, timers running). What differs from the record is written back, the
// rest is left alone, so an input that did not touch a window costs a walk over it and nothing
// more. differences() names what would be written back: the check mode uses it to show that
// nothing an input changed is left over (CORVADEX_FUZZ_CHECK_RESET, see README.md).
#include "app/RFButton.h"
#include "game/AnimatedPicture.h"
#include "game/PictureBox.h"
#include "variants/SkinBackdrop.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMovie>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSet>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

#include <memory>
#include <vector>

namespace fuzzclient {

// A flip's animation is its own; letting it go from outside needs its pointer. An explicit
// instantiation may name a private member, and hands it out through a friend.
struct FlipMovie {
    using Member = QMovie* AnimatedPicture::*;
    friend Member animationOf(FlipMovie);
};
template <FlipMovie::Member M>
struct FlipMovieAccess {
    friend FlipMovie::Member animationOf(FlipMovie) { return M; }
};
template struct FlipMovieAccess<&AnimatedPicture::m_movie>;

// A cursor by its shape, picture and hot spot, in a value held without an allocation of its own
// (every widget has a cursor, and every reset compares them all).
struct CursorKey {
    int shape = 0;
    qint64 picture = 0;
    QPoint hotSpot;
    friend bool operator==(const CursorKey&, const CursorKey&) = default;
};

// Pictures, icons and cursors compare by their cache keys: the same picture set again is the same.
inline QVariant comparable(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::QPixmap: return v.value<QPixmap>().cacheKey();
        case QMetaType::QIcon: return v.value<QIcon>().cacheKey();
        case QMetaType::QCursor: {
            const QCursor c = v.value<QCursor>();
            return QVariant::fromValue(CursorKey{int(c.shape()), c.shape() == Qt::BitmapCursor ? c.pixmap().cacheKey() : 0, c.hotSpot()});
        }
        default: return v;
    }
}

class WindowSnapshot {
public:
    WindowSnapshot() = default;
    WindowSnapshot(const WindowSnapshot&) = delete;
    WindowSnapshot& operator=(const WindowSnapshot&) = delete;

    void capture(QWidget* root) {
        m_root = root;
        m_entries.clear();
        m_known.clear();
        add(root);
        for (QObject* o : root->findChildren<QObject*>()) add(o);
    }

    QWidget* root() const { return m_root; }

    // Why the window cannot be put back, or "" when it can: something recorded is gone, an object
    // was added under it (a loaded animation, a leftover dialog), or a value differs that cannot
    // be written back (a flip's animation). The window must then be built afresh.
    QString unrestorable() const {
        if (!m_root) return QStringLiteral("window gone");
        for (const Entry& e : m_entries) {
            if (!e.object) return e.name + QStringLiteral(" gone");
            for (std::size_t i = 0; i < e.fields.size(); ++i)
                if (!e.fields[i]->set && comparable(e.fields[i]->get(e.object)) != e.compare[i])
                    return e.name + u'.' + QLatin1String(e.fields[i]->name);
        }
        for (QObject* o : m_root->findChildren<QObject*>())
            if (added(o)) return QStringLiteral("%1 (%2) added").arg(nameOf(o), QLatin1String(o->metaObject()->className()));
        return {};
    }

    // Writes back every value that differs from the record, parents before children (a child's
    // inherited font, colours and enabled state come back with its parent's).
    void restore() {
        for (Entry& e : m_entries) {
            if (!e.object) continue;
            for (std::size_t i = 0; i < e.fields.size(); ++i) {
                const Field& f = *e.fields[i];
                if (!f.set) continue;
                // A text whose document changed is written back without being read out first.
                if (f.followsDocument) {
                    if (*e.documentChanged) f.set(e.object, e.values.at(i), e);
                    continue;
                }
                if (comparable(f.get(e.object)) != e.compare.at(i)) f.set(e.object, e.values.at(i), e);
            }
            if (e.documentChanged) *e.documentChanged = false;
        }
    }

    // What differs from the record, one "object.field" each; objects gone or added count too.
    QStringList differences() const {
        QStringList out;
        if (!m_root) return {QStringLiteral("window gone")};
        for (const Entry& e : m_entries) {
            if (!e.object) {
                out << QStringLiteral("%1 gone").arg(e.name);
                continue;
            }
            for (std::size_t i = 0; i < e.fields.size(); ++i)
                if (comparable(e.fields[i]->get(e.object)) != e.compare[i]) out << e.name + u'.' + QLatin1String(e.fields[i]->name);
        }
        for (QObject* o : m_root->findChildren<QObject*>())
            if (added(o)) out << QStringLiteral("%1 (%2) added").arg(nameOf(o), QLatin1String(o->metaObject()->className()));
        return out;
    }

private:
    struct Entry;
    struct Field {
        const char* name;
        QVariant (*get)(QObject*);
        void (*set)(QObject*, const QVariant&, Entry&);  // null: a difference means building afresh
        // A text edit's whole text, read only when its document changed since the last reset
        // (writing out a chat box's text was a third of a reset).
        bool followsDocument = false;
    };
    struct Entry {
        QPointer<QObject> object;
        QString name;
        std::vector<const Field*> fields;
        QVariantList values;   // what set() writes back
        QVariantList compare;  // comparable(values)
        // Deep copies of the items of a list or tree, put back when its items changed.
        std::vector<std::unique_ptr<QListWidgetItem>> listItems;
        std::vector<std::unique_ptr<QTreeWidgetItem>> treeItems;
        // Set by a text edit's document whenever its contents change; null for other objects.
        std::shared_ptr<bool> documentChanged;
        bool emptyDocument = false;  // the text edit's document was empty when recorded
    };

    // The frames of a text's document come and go with its text, which is written back whole.
    // A flip's animation is recorded as one of its values.
    bool added(const QObject* o) const {
        if (m_known.contains(o) || qobject_cast<QTextDocument*>(o->parent())) return false;
        const auto* flip = qobject_cast<const AnimatedPicture*>(o->parent());
        return !flip || flip->movie() != o;
    }

    static bool isQtPart(const QObject* o) {
        for (const QObject* p = o->parent(); p; p = p->parent())
            if (p->objectName().startsWith(QLatin1String("qt_"))) return true;
        return false;
    }

    static QString nameOf(const QObject* o) {
        QString n = o->objectName();
        if (n.isEmpty()) n = QLatin1String(o->metaObject()->className());
        return n;
    }

    template <class T>
    static T* as(QObject* o) {
        return static_cast<T*>(o);
    }

    // Lists and trees compare by their items' texts and colours.
    static QVariant listKey(QObject* o) {
        auto* l = as<QListWidget>(o);
        QStringList out;
        for (int i = 0; i < l->count(); ++i) out << l->item(i)->text() + u'\x1f' + l->item(i)->foreground().color().name();
        out << QString::number(l->currentRow());
        return out;
    }
    static void treeKeyOf(const QTreeWidgetItem* item, QStringList& out) {
        for (int c = 0; c < item->columnCount(); ++c) out << item->text(c) + u'\x1f' + item->foreground(c).color().name();
        out << QStringLiteral("\x1e%1").arg(item->childCount());
        for (int i = 0; i < item->childCount(); ++i) treeKeyOf(item->child(i), out);
    }
    static QVariant treeKey(QObject* o) {
        auto* t = as<QTreeWidget>(o);
        QStringList out;
        treeKeyOf(t->invisibleRootItem(), out);
        return out;
    }

    static const std::vector<const Field*>& fieldsOf(QObject* o) {
        static const Field hidden{"hidden", [](QObject* o) { return QVariant(as<QWidget>(o)->isHidden()); },
                                  [](QObject* o, const QVariant& v, Entry&) { as<QWidget>(o)->setHidden(v.toBool()); }};
        static const Field enabled{"enabled", [](QObject* o) { return QVariant(!as<QWidget>(o)->testAttribute(Qt::WA_ForceDisabled)); },
                                   [](QObject* o, const QVariant& v, Entry&) { as<QWidget>(o)->setEnabled(v.toBool()); }};
        static const Field geometry{"geometry", [](QObject* o) { return QVariant(as<QWidget>(o)->geometry()); },
                                    [](QObject* o, const QVariant& v, Entry&) { as<QWidget>(o)->setGeometry(v.toRect()); }};
        static const Field font{"font", [](QObject* o) { return QVariant(as<QWidget>(o)->font()); },
                                [](QObject* o, const QVariant& v, Entry&) { as<QWidget>(o)->setFont(v.value<QFont>()); }};
        static const Field palette{"palette", [](QObject* o) { return QVariant(as<QWidget>(o)->palette()); },
                                   [](QObject* o, const QVariant& v, Entry&) { as<QWidget>(o)->setPalette(v.value<QPalette>()); }};
        static const Field cursor{"cursor", [](QObject* o) { return QVariant(as<QWidget>(o)->cursor()); },
                                  [](QObject* o, const QVariant& v, Entry&) { as<QWidget>(o)->setCursor(v.value<QCursor>()); }};
        static const Field toolTip{"toolTip", [](QObject* o) { return QVariant(as<QWidget>(o)->toolTip()); },
                                   [](QObject* o, const QVariant& v, Entry&) { as<QWidget>(o)->setToolTip(v.toString()); }};
        static const Field styleSheet{"styleSheet", [](QObject* o) { return QVariant(as<QWidget>(o)->styleSheet()); },
                                      [](QObject* o, const QVariant& v, Entry&) { as<QWidget>(o)->setStyleSheet(v.toString()); }};
        static const Field title{"windowTitle", [](QObject* o) { return QVariant(as<QWidget>(o)->windowTitle()); },
                                 [](QObject* o, const QVariant& v, Entry&) { as<QWidget>(o)->setWindowTitle(v.toString()); }};
        static const Field labelText{"text", [](QObject* o) { return QVariant(as<QLabel>(o)->text()); },
                                     [](QObject* o, const QVariant& v, Entry&) { as<QLabel>(o)->setText(v.toString()); }};
        static const Field labelPixmap{"pixmap", [](QObject* o) { return QVariant(as<QLabel>(o)->pixmap()); },
                                       [](QObject* o, const QVariant& v, Entry&) { as<QLabel>(o)->setPixmap(v.value<QPixmap>()); }};
        static const Field editText{"text", [](QObject* o) { return QVariant(as<QLineEdit>(o)->text()); },
                                    [](QObject* o, const QVariant& v, Entry&) { as<QLineEdit>(o)->setText(v.toString()); }};
        static const Field editReadOnly{"readOnly", [](QObject* o) { return QVariant(as<QLineEdit>(o)->isReadOnly()); },
                                        [](QObject* o, const QVariant& v, Entry&) { as<QLineEdit>(o)->setReadOnly(v.toBool()); }};
        static const Field buttonText{"text", [](QObject* o) { return QVariant(as<QAbstractButton>(o)->text()); },
                                      [](QObject* o, const QVariant& v, Entry&) { as<QAbstractButton>(o)->setText(v.toString()); }};
        static const Field buttonChecked{"checked", [](QObject* o) { return QVariant(as<QAbstractButton>(o)->isChecked()); },
                                         [](QObject* o, const QVariant& v, Entry&) { as<QAbstractButton>(o)->setChecked(v.toBool()); }};
        static const Field buttonIcon{"icon", [](QObject* o) { return QVariant(as<QAbstractButton>(o)->icon()); },
                                      [](QObject* o, const QVariant& v, Entry&) { as<QAbstractButton>(o)->setIcon(v.value<QIcon>()); }};
        static const Field plainText{"plainText", [](QObject* o) { return QVariant(as<QPlainTextEdit>(o)->toPlainText()); },
                                     [](QObject* o, const QVariant& v, Entry&) {
                                         auto* e = as<QPlainTextEdit>(o);
                                         if (v.toString().isEmpty()) e->clear();
                                         else e->setPlainText(v.toString());
                                     },
                                     true};
        static const Field plainFont{"documentFont", [](QObject* o) { return QVariant(as<QPlainTextEdit>(o)->document()->defaultFont()); },
                                     [](QObject* o, const QVariant& v, Entry&) { as<QPlainTextEdit>(o)->document()->setDefaultFont(v.value<QFont>()); }};
        static const Field richText{"html", [](QObject* o) { return QVariant(as<QTextEdit>(o)->toHtml()); },
                                    [](QObject* o, const QVariant& v, Entry& e) {
                                        // An empty box is emptied: parsing the page of an empty document cost more.
                                        if (e.emptyDocument) as<QTextEdit>(o)->clear();
                                        else as<QTextEdit>(o)->setHtml(v.toString());
                                    },
                                    true};
        static const Field richFont{"documentFont", [](QObject* o) { return QVariant(as<QTextEdit>(o)->document()->defaultFont()); },
                                    [](QObject* o, const QVariant& v, Entry&) { as<QTextEdit>(o)->document()->setDefaultFont(v.value<QFont>()); }};
        static const Field listItems{"items", listKey, [](QObject* o, const QVariant& v, Entry& e) {
                                         auto* l = as<QListWidget>(o);
                                         l->clear();
                                         for (const auto& item : e.listItems) l->addItem(item->clone());
                                         l->setCurrentRow(v.toStringList().constLast().toInt());
                                     }};
        static const Field treeItems{"items", treeKey, [](QObject* o, const QVariant&, Entry& e) {
                                         auto* t = as<QTreeWidget>(o);
                                         t->clear();
                                         for (const auto& item : e.treeItems) t->addTopLevelItem(item->clone());
                                     }};
        static const Field comboItems{"items",
                                      [](QObject* o) {
                                          auto* c = as<QComboBox>(o);
                                          QStringList out;
                                          for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
                                          out << QString::number(c->currentIndex()) << c->currentText();
                                          return QVariant(out);
                                      },
                                      [](QObject* o, const QVariant& v, Entry&) {
                                          auto* c = as<QComboBox>(o);
                                          QStringList items = v.toStringList();
                                          const QString text = items.takeLast();
                                          const int index = items.takeLast().toInt();
                                          c->clear();
                                          c->addItems(items);
                                          c->setCurrentIndex(index);
                                          if (c->isEditable()) c->setEditText(text);
                                      }};
        static const Field actionChecked{"checked", [](QObject* o) { return QVariant(as<QAction>(o)->isChecked()); },
                                         [](QObject* o, const QVariant& v, Entry&) { as<QAction>(o)->setChecked(v.toBool()); }};
        static const Field actionEnabled{"enabled", [](QObject* o) { return QVariant(as<QAction>(o)->isEnabled()); },
                                         [](QObject* o, const QVariant& v, Entry&) { as<QAction>(o)->setEnabled(v.toBool()); }};
        static const Field actionVisible{"visible", [](QObject* o) { return QVariant(as<QAction>(o)->isVisible()); },
                                         [](QObject* o, const QVariant& v, Entry&) { as<QAction>(o)->setVisible(v.toBool()); }};
        static const Field actionText{"text", [](QObject* o) { return QVariant(as<QAction>(o)->text()); },
                                      [](QObject* o, const QVariant& v, Entry&) { as<QAction>(o)->setText(v.toString()); }};
        static const Field timerInterval{"interval", [](QObject* o) { return QVariant(as<QTimer>(o)->interval()); },
                                         [](QObject* o, const QVariant& v, Entry&) { as<QTimer>(o)->setInterval(v.toInt()); }};
        static const Field timerSingle{"singleShot", [](QObject* o) { return QVariant(as<QTimer>(o)->isSingleShot()); },
                                       [](QObject* o, const QVariant& v, Entry&) { as<QTimer>(o)->setSingleShot(v.toBool()); }};
        static const Field timerActive{"active", [](QObject* o) { return QVariant(as<QTimer>(o)->isActive()); },
                                       [](QObject* o, const QVariant& v, Entry&) {
                                           if (v.toBool()) as<QTimer>(o)->start();
                                           else as<QTimer>(o)->stop();
                                       }};

        // The client's own widgets keep a little outside Qt's.
        static const Field boxTag{"Tag", [](QObject* o) { return QVariant(as<PictureBox>(o)->Tag); },
                                  [](QObject* o, const QVariant& v, Entry&) { as<PictureBox>(o)->Tag = v.toString(); }};
        static const Field boxPicture{"Picture", [](QObject* o) { return QVariant(as<PictureBox>(o)->Picture()); },
                                      [](QObject* o, const QVariant& v, Entry&) { as<PictureBox>(o)->Picture(v.value<QPixmap>()); }};
        static const Field boxTip{"ToolTipText", [](QObject* o) { return QVariant(as<PictureBox>(o)->ToolTipText()); },
                                  [](QObject* o, const QVariant& v, Entry&) { as<PictureBox>(o)->ToolTipText(v.toString()); }};
        static const Field boxHighlight{"highlighted", [](QObject* o) { return QVariant(as<PictureBox>(o)->highlighted()); },
                                        [](QObject* o, const QVariant& v, Entry&) { as<PictureBox>(o)->setHighlighted(v.toBool()); }};
        static const Field flipLoop{"Loop", [](QObject* o) { return QVariant(as<AnimatedPicture>(o)->Loop); },
                                    [](QObject* o, const QVariant& v, Entry&) { as<AnimatedPicture>(o)->Loop = v.toInt(); }};
        static const Field flipPlaying{"playing", [](QObject* o) { return QVariant(as<AnimatedPicture>(o)->playing()); },
                                       [](QObject* o, const QVariant&, Entry&) { as<AnimatedPicture>(o)->Stop(); }};
        // A flip's animation by its file and where it stands; put back by letting the one the
        // input loaded go and loading the recorded file again, at the recorded frame.
        static const Field flipMovie{"movie",
                                     [](QObject* o) {
                                         const QMovie* m = as<AnimatedPicture>(o)->movie();
                                         return m ? QVariant(QVariantList{m->fileName(), m->currentFrameNumber(), int(m->state())})
                                                  : QVariant();
                                     },
                                     [](QObject* o, const QVariant& v, Entry&) {
                                         auto* flip = as<AnimatedPicture>(o);
                                         if (QMovie* m = flip->movie()) {
                                             flip->QLabel::setMovie(nullptr);
                                             flip->*animationOf(FlipMovie{}) = nullptr;
                                             delete m;
                                         }
                                         const QVariantList recorded = v.toList();
                                         if (recorded.isEmpty()) return;
                                         flip->ReadGIF(recorded[0].toString());
                                         flip->movie()->jumpToFrame(recorded[1].toInt());
                                     }};
        static const Field buttonState{"ButtonState", [](QObject* o) { return QVariant(as<RFButton>(o)->ButtonState()); },
                                       [](QObject* o, const QVariant& v, Entry&) { as<RFButton>(o)->ButtonState(v.toString()); }};
        static const Field backdrop{"picture", [](QObject* o) { return QVariant(as<SkinBackdrop>(o)->picture()); },
                                    [](QObject* o, const QVariant& v, Entry&) { as<SkinBackdrop>(o)->setPicture(v.value<QPixmap>()); }};

        static const std::vector<const Field*> none;
        static const std::vector<const Field*> widget{&hidden, &enabled, &geometry, &font, &palette, &cursor, &toolTip, &styleSheet, &title};
        const auto with = [](std::initializer_list<const Field*> more) {
            std::vector<const Field*> v = widget;
            v.insert(v.end(), more);
            return v;
        };
        static const std::vector<const Field*> label = with({&labelText, &labelPixmap});
        static const std::vector<const Field*> edit = with({&editText, &editReadOnly});
        static const std::vector<const Field*> button = with({&buttonText, &buttonChecked, &buttonIcon});
        static const std::vector<const Field*> plain = with({&plainText, &plainFont});
        static const std::vector<const Field*> rich = with({&richText, &richFont});
        static const std::vector<const Field*> list = with({&listItems});
        static const std::vector<const Field*> tree = with({&treeItems});
        static const std::vector<const Field*> combo = with({&comboItems});
        static const std::vector<const Field*> action{&actionChecked, &actionEnabled, &actionVisible, &actionText};
        static const std::vector<const Field*> timer{&timerInterval, &timerSingle, &timerActive};
        static const std::vector<const Field*> box = with({&boxTag, &boxPicture, &boxTip, &boxHighlight});
        static const std::vector<const Field*> flip = with({&labelText, &labelPixmap, &flipLoop, &flipPlaying, &flipMovie});
        static const std::vector<const Field*> rfButton = with({&buttonState});
        static const std::vector<const Field*> surface = with({&backdrop});

        if (qobject_cast<PictureBox*>(o)) return box;
        if (qobject_cast<AnimatedPicture*>(o)) return flip;
        if (qobject_cast<RFButton*>(o)) return rfButton;
        if (qobject_cast<SkinBackdrop*>(o)) return surface;

        if (qobject_cast<QLabel*>(o)) return label;
        if (qobject_cast<QLineEdit*>(o)) return edit;
        if (qobject_cast<QAbstractButton*>(o)) return button;
        if (qobject_cast<QPlainTextEdit*>(o)) return plain;
        if (qobject_cast<QTextEdit*>(o)) return rich;
        if (qobject_cast<QListWidget*>(o)) return list;
        if (qobject_cast<QTreeWidget*>(o)) return tree;
        if (qobject_cast<QComboBox*>(o)) return combo;
        if (o->isWidgetType()) return widget;
        if (qobject_cast<QAction*>(o)) return action;
        if (qobject_cast<QTimer*>(o)) return timer;
        return none;
    }

    void add(QObject* o) {
        m_known.insert(o);
        // The parts of Qt's own composite widgets (a scroll area's bars and their holders) are
        // placed by their owner, which follows what it shows.
        if (o->objectName().startsWith(QLatin1String("qt_")) || isQtPart(o)) return;
        const auto& fields = fieldsOf(o);
        if (fields.empty()) return;
        Entry e;
        e.object = o;
        e.name = nameOf(o);
        e.fields = fields;
        for (const Field* f : fields) {
            e.values << f->get(o);
            e.compare << comparable(e.values.constLast());
        }
        if (auto* l = qobject_cast<QListWidget*>(o))
            for (int i = 0; i < l->count(); ++i) e.listItems.emplace_back(l->item(i)->clone());
        if (auto* t = qobject_cast<QTreeWidget*>(o))
            for (int i = 0; i < t->topLevelItemCount(); ++i) e.treeItems.emplace_back(t->topLevelItem(i)->clone());
        QTextDocument* document = nullptr;
        if (auto* t = qobject_cast<QTextEdit*>(o)) document = t->document();
        if (auto* t = qobject_cast<QPlainTextEdit*>(o)) document = t->document();
        if (document) {
            e.documentChanged = std::make_shared<bool>(false);
            e.emptyDocument = document->isEmpty();
            QObject::connect(document, &QTextDocument::contentsChanged, [changed = e.documentChanged] { *changed = true; });
        }
        m_entries.push_back(std::move(e));
    }

    QPointer<QWidget> m_root;
    std::vector<Entry> m_entries;
    QSet<const QObject*> m_known;
};

}  // namespace fuzzclient
