#pragma once
// One palette class as Qt Designer's widget box and QUiLoader see it: its group (the
// palette page), its generated widget class, and the widget that stands for it.
#include "qvdesigner/componenthost.h"

#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QObject>
#include <functional>

namespace Qvdesigner {

class TComponentWidget : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)
public:
    // OnInitialize runs when Designer initializes this entry with its core. A class off
    // the palette (OnPalette false) is known to Designer but not in its widget box.
    TComponentWidget(const TDesignerClass& Class, const QString& Group, bool OnPalette,
        std::function<void(QDesignerFormEditorInterface*)> OnInitialize, QObject* Parent);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget* createWidget(QWidget* Parent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface* Core) override;
    QString domXml() const override;

private:
    bool IsVisual() const;

    const TDesignerClass& FClass;
    QString FGroup;
    bool FOnPalette;
    std::function<void(QDesignerFormEditorInterface*)> FOnInitialize;
    QDesignerFormEditorInterface* FCore = nullptr;
};

} // namespace Qvdesigner
