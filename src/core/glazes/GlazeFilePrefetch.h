#pragma once

// Reading the glaze databases that start-up is about to open on a thread of their own, while the
// program builds its main window and opens the element and materials databases. A glaze
// document opening one of these files takes the glazes read instead of reading the file again
// (CGlazesDoc::ReadFile), with the same result code and message an ordinary read gives, so the
// program shows its windows sooner with large databases and behaves the same.
//
// Lifetime: start-up (COxidariumApp::InitInstance) makes the one prefetch of a run and drops it
// once its start-up files are open; meanwhile it is the active one that Take asks, and nothing
// but start-up reads glaze files. The reader counts keys in its static key table, so two glaze
// reads must never overlap: Take (every CGlazesDoc::ReadFile) first waits until the whole
// prefetch has ended, and so does the destructor.
//
// A file is taken only while it is unchanged (size and modification time as when it was read); a
// file the prefetch could not open is left to the document, which reports it as before.

#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class CGlazeList;

class CGlazeFilePrefetch {
public:
    // Starts reading paths, in order, on a thread of its own.
    explicit CGlazeFilePrefetch(std::vector<std::string> paths);
    ~CGlazeFilePrefetch();
    CGlazeFilePrefetch(const CGlazeFilePrefetch&) = delete;
    CGlazeFilePrefetch& operator=(const CGlazeFilePrefetch&) = delete;

    // When the active prefetch read path (and the file is unchanged), moves the glazes, name,
    // information lines, version and error text into list, sets result to the reader's code and
    // returns true; that file's read is then used up. Otherwise false. Waits for the prefetch
    // to end first in either case.
    static bool Take(const std::string& path, CGlazeList& list, int& result);

private:
    struct Read;

    void ReadAll();
    void Wait();

    std::vector<std::unique_ptr<Read>> m_reads;
    std::thread m_thread;
};
