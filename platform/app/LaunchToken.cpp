#include <private/LaunchToken.h>

#include <cstdlib>

namespace BPrivate {

namespace {

const char	 kActivationVariable[] = "XDG_ACTIVATION_TOKEN";
const char	 kStartupVariable[] = "DESKTOP_STARTUP_ID";
const char	 kLineStart[] = "kx-launch 1: activation=";
const char	 kStartupField[] = " startup=";
const size_t kLongestToken = 256;

bool
Sound(const std::string& token)
{
	if (token.size() > kLongestToken)
		return false;
	for (char c : token) {
		if (c <= ' ' || c > '~')
			return false;
	}
	return true;
}

std::string
SoundOrEmpty(const std::string& token)
{
	return Sound(token) ? token : std::string();
}

} // namespace

LaunchToken
LaunchTokenFromEnvironment(bool forget)
{
	LaunchToken token;
	if (const char* activation = getenv(kActivationVariable))
		token.activation = SoundOrEmpty(activation);
	if (const char* startupId = getenv(kStartupVariable))
		token.startupId = SoundOrEmpty(startupId);
	if (forget) {
		unsetenv(kActivationVariable);
		unsetenv(kStartupVariable);
	}
	return token;
}

std::string
LaunchTokenLine(const LaunchToken& token)
{
	return kLineStart + SoundOrEmpty(token.activation) + kStartupField
		+ SoundOrEmpty(token.startupId) + "\n";
}

LaunchToken
LaunchTokenFromLine(const std::string& line)
{
	LaunchToken token;
	size_t		start = sizeof(kLineStart) - 1;
	size_t		startup = line.find(kStartupField, start);
	if (line.compare(0, start, kLineStart) != 0 || startup == std::string::npos
		|| line.empty() || line.back() != '\n')
		return token;
	size_t valueStart = startup + sizeof(kStartupField) - 1;
	token.activation = SoundOrEmpty(line.substr(start, startup - start));
	token.startupId =
		SoundOrEmpty(line.substr(valueStart, line.size() - 1 - valueStart));
	return token;
}

unsigned long
StartupIdTime(const std::string& startupId)
{
	size_t at = startupId.rfind("_TIME");
	if (at == std::string::npos)
		return 0;
	const char* digits = startupId.c_str() + at + 5;
	if (*digits < '0' || *digits > '9')
		return 0;
	return strtoul(digits, nullptr, 10);
}

} // namespace BPrivate
