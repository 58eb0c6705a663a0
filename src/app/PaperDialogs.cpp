#include "app/PaperDialogs.h"

#include "app/PaperChoicesPanel.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvella::app {

bool askPaperChoices(const core::PaperRequest &request, QWidget *parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("PaperDialog"));
    dialog.setWindowTitle(request.title);
    auto *layout = new QVBoxLayout(&dialog);
    auto *panel = new PaperChoicesPanel(*request.choices, request.columns, &dialog);
    layout->addWidget(panel);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Save"));
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *request.choices = panel->choices();
    return true;
}

bool showPrintPreview(const core::PrintRequest &request, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    dialog.setWindowTitle(request.paper.title);
    auto *layout = new QHBoxLayout(&dialog);
    auto *preview = new QPrintPreviewWidget(&printer, &dialog);
    preview->setObjectName(QStringLiteral("Preview"));
    layout->addWidget(preview, 1);
    auto *side = new QVBoxLayout;
    auto *panel = new PaperChoicesPanel(*request.paper.choices, request.paper.columns, &dialog);
    panel->setMaximumWidth(380); // the preview takes the rest
    side->addWidget(panel);
    auto *buttons = new QDialogButtonBox(&dialog);
    QPushButton *print = buttons->addButton(QStringLiteral("&Print\u2026"), QDialogButtonBox::AcceptRole);
    print->setObjectName(QStringLiteral("PrintButton"));
    buttons->addButton(QDialogButtonBox::Cancel);
    side->addWidget(buttons);
    layout->addLayout(side);
    QObject::connect(preview, &QPrintPreviewWidget::paintRequested, &dialog,
                     [&](QPrinter *device) { request.paint(*device, panel->choices()); });
    QObject::connect(panel, &PaperChoicesPanel::changed, preview, &QPrintPreviewWidget::updatePreview);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        QPrintDialog ask(&printer, &dialog);
        if (ask.exec() != QDialog::Accepted)
            return;
        request.paint(printer, panel->choices());
        dialog.accept();
    });
    dialog.resize(1000, 720);
    const bool printed = dialog.exec() == QDialog::Accepted;
    *request.paper.choices = panel->choices();
    return printed;
}

} // namespace orvella::app
