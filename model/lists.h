// Operations on singly linked lists that begin with a head node of the list's own kind:
// an empty list is a head whose `next` is empty, so the first element needs no special
// case. There is no tail pointer; appending walks the list.
#pragma once

namespace mlfq {

template <class Node>
bool is_empty(const Node* head) { // O(1)
    return head->next == nullptr;
}

template <class Node>
Node* first(const Node* head) { // O(1); empty when the list is
    return head->next;
}

// Links `node` right after `at`. O(1).
template <class Node>
void link_after(Node* at, Node* node) {
    node->next = at->next;
    at->next = node;
}

// Unlinks the node that follows `at` (there must be one) and returns it. O(1).
template <class Node>
Node* unlink_after(Node* at) {
    Node* node = at->next;
    at->next = node->next;
    node->next = nullptr;
    return node;
}

// The last node: the head itself when the list is empty. O(n).
template <class Node>
Node* last_node(Node* head) {
    Node* node = head;
    while (node->next != nullptr)
        node = node->next;
    return node;
}

template <class Node>
void append(Node* head, Node* node) { // O(n)
    link_after(last_node(head), node);
}

template <class Node>
void push_front(Node* head, Node* node) { // O(1)
    link_after(head, node);
}

template <class Node>
Node* pop_front(Node* head) { // O(1); the list must not be empty
    return unlink_after(head);
}

// Number of elements, head excluded. O(n).
template <class Node>
long long length(const Node* head) {
    long long n = 0;
    for (const Node* node = head->next; node != nullptr; node = node->next)
        ++n;
    return n;
}

} // namespace mlfq
