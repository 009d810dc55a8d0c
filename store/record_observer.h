#pragma once

namespace kelvo {

// Told of every change of the record image that moves, adds or drops records, so that data
// kept beside the records (outside the image) can follow them. The image calls it only when
// one is set (KnowledgeBaseImage::SetRecordObserver); nullptr costs one branch per change.
class RecordObserver {
  public:
    virtual ~RecordObserver() = default;

    /// A record was written at `position`; `appended` when it lay behind LastRecord before.
    virtual void RecordStored(int position, bool appended) = 0;
    /// The `removeCount` records at `start` were replaced by `insertCount` new ones and the
    /// records behind them moved to follow directly.
    virtual void RecordsSpliced(int start, int removeCount, int insertCount) = 0;
    /// LastRecord went from `oldLast` to `newLast`: records cut off, or exposed again.
    virtual void LastRecordSet(int oldLast, int newLast) = 0;
    /// The image was loaded or released: no record of before is left.
    virtual void ImageReset() = 0;
};

// Keeps an observer from seeing a sequence of single stores that together move records; the
// code reports what they made up through Splice, which the observer receives once the pause
// ends. Without Splice the observer hears nothing of the sequence (it failed: the image is
// full and the consultation ends).
template <typename Image>
class RecordObserverPause {
  public:
    explicit RecordObserverPause(Image& image) : image_(image), observer_(image.recordObserver()) {
        image_.SetRecordObserver(nullptr);
    }
    ~RecordObserverPause() {
        image_.SetRecordObserver(observer_);
        if (observer_ != nullptr && spliced_) {
            observer_->RecordsSpliced(start_, removeCount_, insertCount_);
        }
    }
    RecordObserverPause(const RecordObserverPause&) = delete;
    RecordObserverPause& operator=(const RecordObserverPause&) = delete;

    /// What the sequence did, as one splice.
    void Splice(int start, int removeCount, int insertCount) {
        spliced_ = true;
        start_ = start;
        removeCount_ = removeCount;
        insertCount_ = insertCount;
    }

  private:
    Image& image_;
    RecordObserver* observer_;
    bool spliced_ = false;
    int start_ = 0;
    int removeCount_ = 0;
    int insertCount_ = 0;
};

}  // namespace kelvo
