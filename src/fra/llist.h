// The program's small singly linked list of records of one type T (the FRA
// view's crossings, the margin analysis's gain and phase points). Each node
// owns a heap copy of one T. The list owns its nodes through raw pointers, so
// it cannot be copied or moved: pass it by reference.
//
// Iteration keeps a cursor in the list itself: next() steps it and returns the
// node, or nullptr at the end, after which the following call starts again at
// the head.
#pragma once

#include <memory>

template <typename T>
class LList {
public:
    struct node {
        node* next;
        T* element;
    };

    LList() = default;
    LList(const LList&) = delete;
    LList& operator=(const LList&) = delete;
    virtual ~LList()
    {
        while (head != nullptr) {
            remove_head();
        }
    }

    // Copies item into a new node after the last one.
    void append(const T& item)
    {
        std::unique_ptr<T> element = std::make_unique<T>(item);
        node* fresh = new node{nullptr, element.get()};
        element.release();
        node* last = tail();
        if (last == nullptr) {
            head = fresh;
        } else {
            last->next = fresh;
        }
        ++count;
    }

    node* tail() const
    {
        node* last = head;
        while (last != nullptr && last->next != nullptr) {
            last = last->next;
        }
        return last;
    }

    node* next()
    {
        cursor = cursor == nullptr ? head : cursor->next;
        return cursor;
    }

    // Unlinks and frees the first node and its element. A cursor on that node
    // is reset, so iteration never steps from a freed node.
    void remove_head()
    {
        if (head == nullptr) {
            return;
        }
        node* first = head;
        head = first->next;
        if (cursor == first) {
            cursor = nullptr;
        }
        delete first->element;
        delete first;
        --count;
    }

    // Read by the list's users; changed only by the operations above.
    node* head = nullptr;
    node* cursor = nullptr;
    int count = 0;
};
