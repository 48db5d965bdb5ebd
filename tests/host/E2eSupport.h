// Runs the stand-in host program as a user would, in a private 3ds Max root.
#pragma once

#include "plugin/PluginTestUtil.h"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

namespace halvex_test
{

struct SHostRun
{
	int Status = -1;    // exit status; -1 when the program did not exit normally
	std::string Out;    // standard output
	std::string Err;    // standard error
};

// The lines of a text, without their line ends.
inline std::vector<std::string> lines(const std::string& text)
{
	std::vector<std::string> result;
	std::istringstream in(text);
	for (std::string line; std::getline(in, line);)
	{
		if (!line.empty() && line.back() == '\r')
			line.pop_back();
		result.push_back(line);
	}
	return result;
}

inline int filesIn(const fs::path& dir)
{
	int n = 0;
	std::error_code ec;
	for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
		++n;
	return n;
}

// A temporary 3ds Max root whose plugins/ links the built plug-in, core and
// font, and an empty output directory beside it.
class CE2eTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		Root = Temp.path() / "max";
		Plugins = Root / "plugins";
		Out = Temp.path() / "out";
		fs::create_directories(Plugins);
		fs::create_directories(Out);
		for (const char* file : {"HalvexExporter-64.dle", "Ostrel-64.dll", "VelmarFont.ttc"})
			fs::create_symlink(fs::path(HALVEX_PLUGINS_DIR) / file, Plugins / file);
	}

	// The settings file the options window starts from (export format and
	// coordinate system; no merging with an action file).
	void writeSettings(int exportType, int coordType)
	{
		std::ofstream f(Plugins / "HalvexExporter.xml", std::ios::binary);
		f << "<!--Game Config File, Date: 2010-09-10, Author: halvex-team@users.example.org-->"
			"<!--\xE6\xAD\xA4\xE6\x96\x87\xE4\xBB\xB6\xE5\x8F\xAF\xE6\x89\x8B\xE5\x8A\xA8\xE4\xBF\xAE"
			"\xE6\x94\xB9\xEF\xBC\x8C\xE4\xBD\x86\xE8\xAF\xB7\xE6\x85\x8E\xE9\x87\x8D\xE3\x80\x82-->\r\n"
			"\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n"
			"<GameConfig>\r\n"
			"\t<attributes>\r\n"
			"\t\t<bool name=\"MergeAction\" value=\"false\" />\r\n"
			"\t\t<bool name=\"UseObjectSpace\" value=\"false\" />\r\n"
			"\t\t<bool name=\"ExportSelected\" value=\"false\" />\r\n"
			"\t\t<int name=\"FPS\" value=\"30\" />\r\n"
			"\t\t<int name=\"StartFrame\" value=\"0\" />\r\n"
			"\t\t<int name=\"EndFrame\" value=\"100\" />\r\n"
			"\t\t<int name=\"ExportType\" value=\"" << exportType << "\" />\r\n"
			"\t\t<int name=\"CoordType\" value=\"" << coordType << "\" />\r\n"
			"\t</attributes>\r\n"
			"\r\n"
			"</GameConfig>\r\n";
	}

	// halvex-max with `args`; "--root" and the private root come first unless
	// `withRoot` is false. `unsetDisplay` runs it as on a headless machine.
	SHostRun runHost(const std::vector<std::string>& args, bool withRoot = true, bool unsetDisplay = false)
	{
		std::vector<std::string> all = {std::string(HALVEX_BINARY_DIR) + "/bin/halvex-max"};
		if (withRoot)
		{
			all.push_back("--root");
			all.push_back(Root.string());
		}
		all.insert(all.end(), args.begin(), args.end());
		std::vector<char*> argv;
		for (std::string& a : all)
			argv.push_back(a.data());
		argv.push_back(nullptr);

		const fs::path outPath = Temp.path() / "stdout.txt";
		const fs::path errPath = Temp.path() / "stderr.txt";
		const pid_t pid = fork();
		if (pid == 0)
		{
			const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
			const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
			dup2(out, 1);
			dup2(err, 2);
			if (unsetDisplay)
				unsetenv("DISPLAY");
			execv(argv[0], argv.data());
			_exit(126);
		}
		SHostRun run;
		int status = 0;
		const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(240);
		while (waitpid(pid, &status, WNOHANG) == 0)
		{
			if (std::chrono::steady_clock::now() > deadline)
			{
				ADD_FAILURE() << "halvex-max did not finish; killed";
				kill(pid, SIGKILL);
				waitpid(pid, &status, 0);
				break;
			}
			std::this_thread::sleep_for(std::chrono::milliseconds(20));
		}
		run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
		run.Out = readFile(outPath);
		run.Err = readFile(errPath);
		return run;
	}

	CTempDir Temp;
	fs::path Root, Plugins, Out;
};

} // namespace halvex_test
