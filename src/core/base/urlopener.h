#pragma once

#include <QList>
#include <QUrl>

#include <functional>

namespace lir {

// Opens an address (a web page, a file, a folder) with the desktop's default
// handler. The GUI installs the real opener; tests install a recording one.
// Opening never blocks: `failed` is called when nothing could open the
// address, at once or once the handler has given up.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    virtual void openUrl(const QUrl& url, const std::function<void()>& failed = {}) = 0;
};

// The opener in use; never null (a recording one until someone installs one,
// so that nothing headless starts a browser).
UrlOpener& urlOpener();
// Installs o (not owned) and returns the previous one; nullptr restores the default.
UrlOpener* setUrlOpener(UrlOpener* o);

class RecordingUrlOpener : public UrlOpener
{
public:
    void openUrl(const QUrl& url, const std::function<void()>& failed = {}) override
    {
        m_opened << url;
        if (m_fails && failed)
            failed();
    }
    const QList<QUrl>& opened() const { return m_opened; }
    // A computer with no handler for any address.
    void setFails(bool fails) { m_fails = fails; }

private:
    QList<QUrl> m_opened;
    bool m_fails = false;
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
