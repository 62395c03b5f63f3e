// Starts korveth-lsp for Korveth scripts, saved or not, and hands it the dialect chosen in the
// settings. A setting changed, or "Korveth: Restart Server", starts it again. Dry runs go to
// korveth-dap, the debug adapter.
const { commands, debug, DebugAdapterExecutable, window, workspace } = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function serverPath() {
  return workspace.getConfiguration('korveth').get('serverPath', 'korveth-lsp');
}

async function start() {
  const settings = workspace.getConfiguration('korveth');
  const path = serverPath();
  const server = { command: path, args: [] };
  client = new LanguageClient(
    'korveth',
    'Korveth Scripts',
    { run: server, debug: server },
    {
      documentSelector: [
        { scheme: 'file', language: 'korveth' },
        { scheme: 'untitled', language: 'korveth' },
      ],
      initializationOptions: { dialect: settings.get('dialect', 'auto') },
    },
  );
  try {
    await client.start();
  } catch (error) {
    client = undefined;
    window.showErrorMessage(
      `Korveth Scripts: the language server "${path}" could not be started (${error.message}). ` +
        'Install korveth-lsp, or set korveth.serverPath to the program.',
    );
  }
}

async function stop() {
  const running = client;
  client = undefined;
  if (running) {
    try {
      await running.stop();
    } catch (error) {
      // A server that never started has nothing to stop.
    }
  }
}

async function restart() {
  await stop();
  await start();
}

// Each dry run starts its own korveth-dap; the path is the user's setting, never a workspace's
// in an untrusted workspace (package.json restricts it).
const debugAdapters = {
  createDebugAdapterDescriptor() {
    const path = workspace.getConfiguration('korveth').get('debugAdapterPath', 'korveth-dap');
    return new DebugAdapterExecutable(path, []);
  },
};

function activate(context) {
  context.subscriptions.push(
    debug.registerDebugAdapterDescriptorFactory('korveth', debugAdapters),
    commands.registerCommand('korveth.restartServer', restart),
    workspace.onDidChangeConfiguration((event) => {
      if (event.affectsConfiguration('korveth')) restart();
    }),
  );
  return start();
}

function deactivate() {
  return stop();
}

module.exports = { activate, deactivate };
