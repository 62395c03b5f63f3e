// Each check prints its name; the first that fails ends the run with status 1.
const { DebugClient } = require('@vscode/debugadapter-testsupport');
const assert = require('assert');
const fs = require('fs');
const os = require('os');
const path = require('path');

const adapter = process.argv[2];
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'korveth-dap-'));
const file = (name, text) => {
    fs.writeFileSync(path.join(dir, name), text);
    return path.join(dir, name);
};
const hunt = file('hunt.cmd', 'echo one\ngosub greet a\nexit\ninclude lib\n');
const lib = file('lib.cmd', 'greet:\n  echo hi %1\n  return\n');
const unknown = file('unknown.cmd', 'var n 5\nput $never\n');
const slow = file('slow.cmd', 'waitforre /(a+)+$/\n');
// On each line the pattern takes a fair while, under its limit: the wait lasts a minute or more.
const slowLog = file('slow.log', ('a'.repeat(17) + '!\n').repeat(100000));

// body returns true when it ended the adapter itself.
async function session(launch, body) {
    const client = new DebugClient(adapter, '', 'korveth');
    client.defaultTimeout = 5000;
    await client.start();
    let ended = false;
    try {
        await client.initializeRequest();
        await client.launch(launch);
        ended = await body(client);
    } finally {
        if (ended)
            client.stopAdapter();
        else
            await client.stop();
    }
}

const checks = {
    'breakpoints per file, line 1 and an included script': () =>
        session({ program: hunt, dialect: 'modern' }, async (client) => {
            const main = await client.setBreakpointsRequest({
                source: { path: hunt },
                breakpoints: [{ line: 1 }, { line: 40 }],
            });
            assert.deepStrictEqual(main.body.breakpoints.map((b) => b.verified), [true, false]);
            const inLib = await client.setBreakpointsRequest({
                source: { path: lib },
                breakpoints: [{ line: 2 }],
            });
            assert.strictEqual(inLib.body.breakpoints[0].verified, true);
            await Promise.all([
                client.configurationDoneRequest(),
                client.assertStoppedLocation('breakpoint', { path: hunt, line: 1 }),
            ]);
            await Promise.all([
                client.continueRequest({ threadId: 1 }),
                client.assertStoppedLocation('breakpoint', { path: lib, line: 2 }),
            ]);
            const stack = await client.stackTraceRequest({ threadId: 1 });
            const [inner, outer] = await Promise.all(
                stack.body.stackFrames.map((f) => client.scopesRequest({ frameId: f.id })));
            const first = async (scopes) =>
                (await client.variablesRequest({
                    variablesReference: scopes.body.scopes[0].variablesReference,
                })).body.variables.find((v) => v.name === '%1');
            assert.strictEqual((await first(inner)).value, 'a');
            assert.strictEqual((await first(outer)), undefined);
            await Promise.all([
                client.continueRequest({ threadId: 1 }),
                client.waitForEvent('terminated'),
            ]);
        }),
    'what cannot be known stops as an exception': () =>
        session({ program: unknown }, async (client) => {
            const [, stopped] = await Promise.all([
                client.configurationDoneRequest(),
                client.waitForEvent('stopped'),
            ]);
            assert.strictEqual(stopped.body.reason, 'exception');
            assert.match(stopped.body.text, /\$never/);
        }),
    'pause and disconnect during a long wait': () =>
        session({ program: slow, log: slowLog }, async (client) => {
            await client.configurationDoneRequest();
            await new Promise((resolve) => setTimeout(resolve, 200));
            const [, paused] = await Promise.all([
                client.pauseRequest({ threadId: 1 }),
                client.waitForEvent('stopped', 1000),
            ]);
            assert.strictEqual(paused.body.reason, 'pause');
            await client.continueRequest({ threadId: 1 });
            const exited = new Promise((resolve, reject) => {
                client._adapterProcess.on('exit', resolve);
                setTimeout(() => reject(new Error('still running a second after disconnect')),
                    1000);
            });
            await client.disconnectRequest({});
            await exited;
            return true;
        }),
    'an unknown dialect is refused': async () => {
        await assert.rejects(session({ program: hunt, dialect: 'ancient' }, async () => {}),
            /dialect/);
    },
};

(async () => {
    for (const [name, check] of Object.entries(checks)) {
        await check();
        console.log('ok:', name);
    }
    fs.rmSync(dir, { recursive: true });
})().catch((error) => {
    console.error('failed:', error);
    process.exit(1);
});
