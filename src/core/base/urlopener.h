#pragma once

#include <QList>
#include <QUrl>

namespace lir {

// Opens an address (a web page, a file, a folder) with the desktop's default
// handler. The GUI installs the real opener; tests install a recording one.
// Opening never blocks and a failure is not reported.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    virtual void openUrl(const QUrl& url) = 0;
};

// The opener in use; never null (a recording one until someone installs one,
// so that nothing headless starts a browser).
UrlOpener& urlOpener();
// Installs o (not owned) and returns the previous one; nullptr restores the default.
UrlOpener* setUrlOpener(UrlOpener* o);

class RecordingUrlOpener : public UrlOpener
{
public:
    void openUrl(const QUrl& url) override { m_opened << url; }
    const QList<QUrl>& opened() const { return m_opened; }

private:
    QList<QUrl> m_opened;
};

// Installs an opener for the length of a block.
class ScopedUrlOpener
{
public:
    explicit ScopedUrlOpener(UrlOpener* o) : m_previous(setUrlOpener(o)) {}
    ~ScopedUrlOpener() { setUrlOpener(m_previous); }
    ScopedUrlOpener(const ScopedUrlOpener&) = delete;
    ScopedUrlOpener& operator=(const ScopedUrlOpener&) = delete;

private:
    UrlOpener* m_previous;
};

} // namespace lir
