#include "host/CVirtualDisplay.h"

#include <X11/Xlib.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace halvex
{

namespace
{

// Starts `argv` with stdin/stdout/stderr on /dev/null, keeping `keepFd`
// open. The child dies with this process, so an interrupted run leaves no
// server behind.
pid_t spawn(const std::vector<std::string>& args, int keepFd = -1)
{
	std::vector<char*> argv;
	for (const std::string& a : args)
		argv.push_back(const_cast<char*>(a.c_str()));
	argv.push_back(nullptr);
	const pid_t parent = getpid();
	const pid_t pid = fork();
	if (pid != 0)
		return pid;
	prctl(PR_SET_PDEATHSIG, SIGTERM);
	if (getppid() != parent)
		_exit(127);
	const int null = open("/dev/null", O_RDWR);
	if (null >= 0)
	{
		dup2(null, 0);
		dup2(null, 1);
		dup2(null, 2);
	}
	for (int fd = 3; fd < 1024; ++fd)
		if (fd != keepFd)
			close(fd);
	execvp(argv[0], argv.data());
	_exit(127);
}

void terminate(pid_t& pid)
{
	if (pid <= 0)
		return;
	kill(pid, SIGTERM);
	int status = 0;
	// A server that ignores the request within two seconds is killed.
	for (int i = 0; i < 200; ++i)
	{
		if (waitpid(pid, &status, WNOHANG) == pid)
		{
			pid = -1;
			return;
		}
		std::this_thread::sleep_for(std::chrono::milliseconds(10));
	}
	kill(pid, SIGKILL);
	waitpid(pid, &status, 0);
	pid = -1;
}

} // namespace

CVirtualDisplay::~CVirtualDisplay()
{
	stop();
}

bool CVirtualDisplay::start(std::string& error)
{
	if (Server > 0)
		return true;
	int fds[2];
	if (pipe2(fds, O_CLOEXEC) != 0)
	{
		error = std::string("cannot start a virtual X server: ") + std::strerror(errno);
		return false;
	}
	// Xvfb picks a free display number and reports it on the descriptor once
	// it accepts connections.
	const int writeFd = fds[1];
	fcntl(writeFd, F_SETFD, 0);
	Server = spawn({"Xvfb", "-displayfd", std::to_string(writeFd), "-screen", "0", "1280x1024x24",
		"-nolisten", "tcp"}, writeFd);
	close(writeFd);

	std::string number;
	const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
	while (std::chrono::steady_clock::now() < deadline)
	{
		pollfd p{fds[0], POLLIN, 0};
		if (poll(&p, 1, 100) <= 0)
			continue;
		char buffer[32];
		const ssize_t n = read(fds[0], buffer, sizeof buffer);
		if (n <= 0)
			break; // the server closed the pipe or ended
		number.append(buffer, static_cast<size_t>(n));
		if (number.find('\n') != std::string::npos)
			break;
	}
	close(fds[0]);
	while (!number.empty() && (number.back() == '\n' || number.back() == ' '))
		number.pop_back();
	if (Server < 0 || number.empty())
	{
		terminate(Server);
		error = "cannot start a virtual X server (is Xvfb installed?)";
		return false;
	}
	Name = ":" + number;

	const char* previous = std::getenv("DISPLAY");
	HadDisplay = previous != nullptr;
	PreviousDisplay = previous ? previous : "";
	setenv("DISPLAY", Name.c_str(), 1);

	WindowManager = spawn({"evilwm", "-fn", "fixed"}); // "fixed" is always there
	// The window manager is ready once it selects substructure redirection on
	// the root window; until then a new window would be mapped unmanaged.
	if (Display* display = XOpenDisplay(Name.c_str()))
	{
		for (int i = 0; i < 100; ++i)
		{
			XWindowAttributes attributes;
			if (XGetWindowAttributes(display, DefaultRootWindow(display), &attributes)
				&& (attributes.all_event_masks & SubstructureRedirectMask))
				break;
			int status = 0;
			if (waitpid(WindowManager, &status, WNOHANG) == WindowManager)
			{
				WindowManager = -1; // not installed or failed: go on without one
				break;
			}
			std::this_thread::sleep_for(std::chrono::milliseconds(20));
		}
		XCloseDisplay(display);
	}
	return true;
}

void CVirtualDisplay::stop()
{
	if (Server <= 0 && WindowManager <= 0)
		return;
	terminate(WindowManager);
	terminate(Server);
	if (HadDisplay)
		setenv("DISPLAY", PreviousDisplay.c_str(), 1);
	else
		unsetenv("DISPLAY");
	Name.clear();
}

} // namespace halvex
