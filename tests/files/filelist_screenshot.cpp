// Shows a form holding a file list view in report view over the sample folder, in the
// language named by the argument (lnEnglish, lnGerman, ...), on the X display in
// $DISPLAY, grabs it from the screen and saves it as a PNG.
// Usage: filelist_screenshot OUTPUT.png LANGUAGE
#include "filelisttestfolder.h"
#include "files/qvfilelistview.h"
#include "support/screenshot.h"
#include "vcl/controls/forms.h"

#include <QMetaEnum>

int main(int argc, char** argv)
{
    static std::unique_ptr<qvtest::TFileListFolder> folder;
    return qvtest::ScreenshotMain(argc, argv, "filelist_screenshot", [](vcl::TForm& form, const QStringList& args) {
        folder = std::make_unique<qvtest::TFileListFolder>();
        form.SetCaption(QStringLiteral("QvKit file list"));
        form.SetBounds(40, 30, 568, 268);
        auto* list = new Qvfilectrls::TqvFileListView(&form);
        list->SetParent(&form);
        list->SetAlign(vcl::alClient);
        const QMetaEnum languages = QMetaEnum::fromType<Qvfilectrls::TFileViewLanguage>();
        const int language = languages.keyToValue(args.value(0, QStringLiteral("lnEnglish")).toLatin1().constData());
        list->SetLanguage(Qvfilectrls::TFileViewLanguage(language < 0 ? Qvfilectrls::lnEnglish : language));
        list->SetViewIconStyle(Qvfilectrls::visReport);
        list->SetDirectory(folder->Path());
    });
}
