#!/usr/bin/env python3
# Writes CDelegatingDriver.h (one forwarding override per pure virtual of the
# installed IVideoDriver.h) to standard output:
#   python3 gen_delegating_driver.py > CDelegatingDriver.h
import re, sys
src = open('/usr/include/irrlicht/IVideoDriver.h').read()
body = src[src.index('class IVideoDriver'):]
body = re.sub(r'//[^\n]*', '', body)
body = re.sub(r'/\*.*?\*/', '', body, flags=re.S)
decls = re.findall(r'virtual\s+([^;{]*?)\s*(=\s*0\s*;)', body, flags=re.S)

def split_top(s):
    parts, depth, cur = [], 0, ''
    for ch in s:
        if ch in '(<': depth += 1
        if ch in ')>': depth -= 1
        if ch == ',' and depth == 0:
            parts.append(cur); cur = ''
        else:
            cur += ch
    if cur.strip(): parts.append(cur)
    return parts

out = []
for d, _ in decls:
    d = ' '.join(d.split())
    d = d.replace('_IRR_DEPRECATED_ ', '')
    i = d.index('(')
    head = d[:i]
    depth = 0
    for j in range(i, len(d)):
        if d[j] == '(': depth += 1
        elif d[j] == ')':
            depth -= 1
            if depth == 0: break
    params = d[i+1:j]
    tail = d[j+1:].strip()
    m = re.match(r'(.*?)(\w+)\s*$', head)
    ret, name = m.group(1).strip(), m.group(2)
    plist, names = [], []
    for p in split_top(params):
        p = p.strip()
        if p == 'void' or not p: continue
        eq = None
        depth = 0
        for k, ch in enumerate(p):
            if ch in '(<': depth += 1
            if ch in ')>': depth -= 1
            if ch == '=' and depth == 0: eq = k; break
        decl = p[:eq].strip() if eq is not None else p
        pn = re.search(r'(\w+)\s*(\[\])?$', decl).group(1)
        plist.append(p)
        names.append(pn)
    call = 'Inner->%s(%s)' % (name, ', '.join(names))
    ret_kw = '' if ret == 'void' else 'return '
    out.append('\t%s %s(%s)%s override { %s%s; }' % (ret, name, ', '.join(plist), (' ' + tail) if tail else '', ret_kw, call))
HEADER = """// A video driver that forwards every call to another driver, so that a test
// can override the few calls it wants to observe.
// Generated from the installed IVideoDriver.h by gen_delegating_driver.py.
#pragma once

#include <irrlicht.h>

namespace irr
{
namespace video
{

// The interface still declares deprecated operations; they are forwarded too.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

class CDelegatingDriver : public IVideoDriver
{
public:
	explicit CDelegatingDriver(IVideoDriver* inner) : Inner(inner) { Inner->grab(); }
	~CDelegatingDriver() override { Inner->drop(); }

%s

protected:
	IVideoDriver* Inner;
};

#pragma GCC diagnostic pop

} // namespace video
} // namespace irr
"""
print(HEADER % '\n'.join(out), end='')
