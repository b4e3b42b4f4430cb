#pragma once

class GuestSession;
class HostSession;
class PrivateChat;

// Connects the private layer to a session: who is here, with which key, and
// how its frames go and come. A copy is host or guest at a time, so both may
// be connected; the session that last told who is here carries the frames.
void ConnectPrivateChat(PrivateChat &chat, HostSession &session);
void ConnectPrivateChat(PrivateChat &chat, GuestSession &session);
