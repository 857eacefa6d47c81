// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "controls.h"

#include "caption_frame.h"
#include "look.h"
#include "pictures.h"
#include "text_box.h"
#include "text_view.h"
#include "wrapping_button.h"

#include <QLabel>

namespace xpcalc {
namespace {

// A label as the design has it: opaque, in button face, its text wrapped at
// word boundaries.
QLabel *designLabel(const ControlDesign &design, QWidget *parent)
{
    auto *label = new QLabel(designText(design), parent);
    label->setWordWrap(true);
    label->setAlignment((design.alignment == Alignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    setGround(label, buttonFace());
    return label;
}

// A picture box: the picture at its natural size from the top-left corner,
// clipped by the box, the rest of the box in button face.
QLabel *pictureBox(const ControlDesign &design, QWidget *parent)
{
    auto *box = new QLabel(parent);
    box->setPixmap(picture(design.text, parent->devicePixelRatioF()));
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setGround(box, buttonFace());
    return box;
}

QWidget *create(const ControlDesign &design, QWidget *parent, ControlMaker makeChart)
{
    switch (design.kind) {
    case Kind::PictureBox:
        return pictureBox(design, parent);
    case Kind::Frame:
        return new CaptionFrame(designText(design), parent);
    case Kind::Button:
        return new WrappingButton(designText(design), parent);
    case Kind::Label:
        return designLabel(design, parent);
    case Kind::TextBox:
        return new TextBox(designText(design), parent);
    case Kind::Chart:
        if (makeChart == nullptr)
            qFatal("%s is a chart, which its window does not make", nameOf(design).c_str());
        return makeChart(parent);
    }
    qFatal("a control of no kind");
}

QColor rgb(std::int32_t colour) { return QColor::fromRgb(static_cast<QRgb>(colour)); }

} // namespace

QString designName(const ControlDesign &control) { return QString::fromStdString(nameOf(control)); }

QString designText(const ControlDesign &control) { return QString::fromStdString(textOf(control)); }

QString designAccessibleName(const ControlDesign &control) { return QString::fromStdString(accessibleNameOf(control)); }

QString designName(const WindowDesign &window) { return toQString(window.name); }

QString designCaption(const WindowDesign &window) { return toQString(window.caption); }

QString designAccessibleName(const WindowDesign &window) { return QString::fromStdString(accessibleNameOf(window)); }

std::vector<QWidget *> buildControls(QWidget *window, const ControlDesign *controls, std::size_t count,
                                     ControlMaker makeChart)
{
    std::vector<QWidget *> built;
    for (std::size_t i = 0; i < count; ++i) {
        const ControlDesign &design = controls[i];
        QWidget *parent = window;
        for (std::size_t j = 0; j < i; ++j)
            if (!design.container.empty() && controls[j].name == design.container)
                parent = built[j];
        QWidget *control = create(design, parent, makeChart);
        control->setObjectName(designName(design));
        if (!design.accessibleName.empty())
            control->setAccessibleName(designAccessibleName(design));
        const PixelRect place = placeOf(design);
        control->setGeometry(place.left, place.top, place.width, place.height);
        if (design.face != Typeface::None)
            control->setFont(fontFor(design.face));
        if (design.groundColour != kDefaultColour)
            setGround(control, rgb(design.groundColour));
        if (design.textColour != kDefaultColour)
            setTextColour(control, rgb(design.textColour));
        built.push_back(control);
    }
    return built;
}

} // namespace xpcalc
