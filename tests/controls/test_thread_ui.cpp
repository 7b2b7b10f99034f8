// Worker threads against the user-interface thread of a GUI application: a
// Synchronize while the UI thread waits in WaitFor, and OnTerminate on the UI thread.
#include "vcl/controls/application.h"
#include "vcl/controls/forms.h"
#include "vcl/core/thread.h"

#include <QThread>
#include <gtest/gtest.h>

using namespace vcl;

namespace {

// Reports its progress three times through Synchronize into a form's caption.
class TReporter : public TThread {
public:
    explicit TReporter(TForm* Form) : FForm(Form) {}
    ~TReporter() override
    {
        Terminate();
        if (!Suspended() && !Finished())
            WaitFor();
    }
    std::vector<Qt::HANDLE> Threads;

protected:
    void Execute() override
    {
        for (int i = 1; i <= 3; ++i)
            Synchronize([this, i] {
                Threads.push_back(QThread::currentThreadId());
                FForm->SetCaption(QStringLiteral("step %1").arg(i));
            });
    }

private:
    TForm* FForm;
};

} // namespace

TEST(ThreadsAndForms, SynchronizeWhileTheUiThreadWaitsDoesNotDeadlock)
{
    TForm form(nullptr);
    TReporter worker(&form);
    Qt::HANDLE terminatedOn = nullptr;
    worker.OnTerminate = [&](TObject*) { terminatedOn = QThread::currentThreadId(); };
    worker.Start();
    // Waiting at once: the worker's Synchronize calls are served during the wait.
    worker.WaitFor();
    EXPECT_EQ(form.Caption(), QStringLiteral("step 3"));
    ASSERT_EQ(worker.Threads.size(), 3u);
    for (Qt::HANDLE id : worker.Threads)
        EXPECT_EQ(id, QThread::currentThreadId());
    EXPECT_EQ(terminatedOn, QThread::currentThreadId());
}
